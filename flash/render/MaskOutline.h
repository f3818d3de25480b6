// The area a mask object uncovers, as one path in view pixels.
#pragma once

#include "flash/render/PaintContext.h"
#include "flash/render/Placement.h"

#include <QPainterPath>

namespace flash {

// The union of the filled areas of the mask's shapes, morphs, text and bitmaps
// (and of its children for a sprite); colours, lines and blend modes play no part.
[[nodiscard]] QPainterPath maskOutline(const PaintContext& context, const Placement& mask);

} // namespace flash
