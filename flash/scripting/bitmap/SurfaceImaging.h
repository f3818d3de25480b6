// Surface operations the renderer's machinery does: drawing one surface into
// another through a matrix with a colour transform and a blend mode, and the
// bitmap filters.
#pragma once

#include "flash/model/DisplayTags.h"
#include "flash/model/Filters.h"
#include "flash/model/Geometry.h"
#include "flash/scripting/bitmap/PixelArea.h"
#include "flash/model/BitmapSurface.h"

#include <optional>

namespace flash {

// `matrix` takes the source's pixels to the target's (its tx and ty in pixels,
// not twips); `clip`, in target pixels, limits what changes.
void drawSurface(BitmapSurface& target, const BitmapSurface& source, const Matrix& matrix,
                 const ColorTransform& transform, BlendMode blend, const std::optional<PixelRect>& clip,
                 bool smoothing);

// The source's area, filtered, replaces the target's pixels from `destPoint`
// on, as far as the filter spreads it; false when there was nothing to filter.
bool applyFilter(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
                 const TypedFilter& filter);

// The area `filter` draws on when it is applied to `sourceRect`.
[[nodiscard]] PixelRect filterRect(const PixelRect& sourceRect, const TypedFilter& filter);

} // namespace flash
