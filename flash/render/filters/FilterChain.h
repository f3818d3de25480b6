// A placed object's filter list applied to its picture: the entry point for
// the painter and for scripts.
#pragma once

#include "flash/model/Filters.h"
#include "flash/render/filters/FilterRegion.h"

#include <span>

namespace flash {

// How far the filters, applied in order, spread the picture beyond its edges.
[[nodiscard]] FilterMargins filterMargins(std::span<const TypedFilter> filters, FilterScale scale);

// `bounds` (twips, in the object's own space, at its own scale) with room for
// what the filters draw around the object.
[[nodiscard]] Rect grownBounds(std::span<const TypedFilter> filters, const Rect& bounds);

// Applies the filters in order. The canvas grows as each filter needs (see
// growCanvas: never beyond `visible` when it is given), so its origin may move
// up and left. An image in another format is converted to premultiplied ARGB32.
void applyFilters(FilterCanvas& canvas, std::span<const TypedFilter> filters, FilterScale scale,
                  const QRect& visible = {});

} // namespace flash
