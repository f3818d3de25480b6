// Whether a point falls on what a display object draws, shape by shape, as
// hitTest with its shape flag asks and as the pointer finds what it is over.
#pragma once

#include "flash/model/Geometry.h"
#include "flash/stage/DisplayList.h"

namespace flash {

class RenderCache;

// `stagePoint` in stage twips. Fills and strokes count through every matrix,
// bitmaps and text by their rectangles, buttons by their hit-state shapes; masks,
// by clip depth and set by scripts, hide what lies outside them. Visibility
// plays no part, and masks themselves are never hit.
[[nodiscard]] bool hitsDrawnArea(RenderCache& cache, const Movie& movie, const DisplayObject& object, Point stagePoint);

} // namespace flash
