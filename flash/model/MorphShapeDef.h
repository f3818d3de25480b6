// Morph shapes: start and end shapes whose edges correspond one to one.
#pragma once

#include "flash/model/ShapeDef.h"

namespace flash {

// The parser makes `start.paths` and `end.paths` correspond: same number of
// paths, same number of commands in each, with a straight edge turned into a
// curve where its partner is a curve. Style indices are those of `start`;
// start.fills[i] morphs into end.fills[i], likewise for lines.
struct MorphShapeDef {
    uint16_t id = 0;
    uint8_t version = 1; // DefineMorphShape 1 or 2
    ShapeDef start;
    ShapeDef end;
};

// The shape a morph shows at `ratio` (0 = start, 1 = end).
[[nodiscard]] ShapeDef morphShapeAt(const MorphShapeDef& morph, double ratio);

} // namespace flash
