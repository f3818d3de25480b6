// The colour matrix filter on a premultiplied image.
#pragma once

#include "flash/model/Filters.h"

#include <QImage>

namespace flash {

// Each pixel's unpremultiplied channels through the 4x5 matrix, clamped to
// 0..255 and premultiplied again. Transparent pixels count as transparent
// black, so offsets can make them visible. Non-finite entries count as 0.
void applyColorMatrix(QImage& image, const ColorMatrixFilter& filter);

} // namespace flash
