// The convolution filter on a premultiplied image.
#pragma once

#include "flash/model/Filters.h"

#include <QImage>

namespace flash {

// Each pixel becomes the sum of the matrix times its neighbours (the matrix
// centred on column matrixX / 2, row matrixY / 2), divided by the divisor,
// plus the bias, on unpremultiplied channels; alpha is kept when
// `preserveAlpha`. Beyond the edge the nearest pixel stands in when `clamp`,
// else the default colour. A zero or non-finite divisor counts as 1. Empty
// matrices, matrices that do not match their size, and matrices larger than
// 15 x 15 leave the image as it is.
void applyConvolution(QImage& image, const ConvolutionFilter& filter);

} // namespace flash
