// Colour transforms applied to whole bitmaps.
#pragma once

#include "flash/model/Geometry.h"

#include <QImage>

namespace flash {

// `image` (premultiplied ARGB) with `transform` applied to its straight colours.
[[nodiscard]] QImage colorTransformed(const QImage& image, const ColorTransform& transform);

} // namespace flash
