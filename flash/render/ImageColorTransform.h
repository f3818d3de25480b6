// Whole-bitmap operations: colour transforms and edge extension.
#pragma once

#include "flash/model/Geometry.h"

#include <QImage>

namespace flash {

// `image` (premultiplied ARGB) with `transform` applied to its straight colours.
[[nodiscard]] QImage colorTransformed(const QImage& image, const ColorTransform& transform);

// `image` grown by `border` pixels on each side that repeat its outermost pixels.
[[nodiscard]] QImage withRepeatedEdges(const QImage& image, int border);

} // namespace flash
