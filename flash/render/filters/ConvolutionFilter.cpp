#include "flash/render/filters/ConvolutionFilter.h"

#include "flash/render/filters/FilterLimits.h"

#include <algorithm>
#include <vector>

namespace flash {
namespace {

// The image unpremultiplied, with a border of `left`, `top`, `right` and
// `bottom` pixels: copies of the nearest edge pixel, or `fill`.
struct PaddedStraight {
    int width = 0, height = 0;
    std::vector<QRgb> pixels;

    PaddedStraight(const QImage& image, int left, int top, int right, int bottom, const QRgb* fill)
        : width(image.width() + left + right), height(image.height() + top + bottom)
    {
        pixels.resize(size_t(width) * height);
        for (int y = 0; y < height; ++y) {
            const int sy = std::clamp(y - top, 0, image.height() - 1);
            const bool rowInside = y - top == sy;
            const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(sy));
            QRgb* out = pixels.data() + size_t(y) * width;
            for (int x = 0; x < width; ++x) {
                const int sx = std::clamp(x - left, 0, image.width() - 1);
                const bool inside = rowInside && x - left == sx;
                out[x] = fill && !inside ? *fill : qUnpremultiply(in[sx]);
            }
        }
    }
};

} // namespace

void applyConvolution(QImage& image, const ConvolutionFilter& filter)
{
    const int columns = filter.matrixX, rows = filter.matrixY;
    if (image.format() != QImage::Format_ARGB32_Premultiplied || image.isNull() || columns <= 0 || rows <= 0
        || columns > limits::kMaxConvolutionSide || rows > limits::kMaxConvolutionSide
        || filter.matrix.size() != size_t(columns) * size_t(rows))
        return;
    double divisor = limits::finiteOr(filter.divisor, 1.0);
    if (divisor == 0)
        divisor = 1;
    const float bias = float(limits::clampedFinite(filter.bias, -1e9, 1e9));
    std::vector<float> weights(filter.matrix.size());
    for (size_t i = 0; i < weights.size(); ++i)
        weights[i] = float(limits::clampedFinite(filter.matrix[i] / divisor, -1e9, 1e9));

    const int centreX = columns / 2, centreY = rows / 2;
    const Rgba d = filter.defaultColor;
    const QRgb fill = qRgba(d.r, d.g, d.b, d.a);
    const PaddedStraight source(image, centreX, centreY, columns - 1 - centreX, rows - 1 - centreY,
                                filter.clamp ? nullptr : &fill);
    auto toByte = [bias](float sum) { return int(std::clamp(sum + bias, 0.0f, 255.0f) + 0.5f); };
    for (int y = 0; y < image.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            const float* weight = weights.data();
            for (int j = 0; j < rows; ++j) {
                const QRgb* in = source.pixels.data() + size_t(y + j) * source.width + x;
                for (int i = 0; i < columns; ++i, ++weight) {
                    r += *weight * qRed(in[i]);
                    g += *weight * qGreen(in[i]);
                    b += *weight * qBlue(in[i]);
                    a += *weight * qAlpha(in[i]);
                }
            }
            const int alpha = filter.preserveAlpha ? qAlpha(out[x]) : toByte(a);
            out[x] = qPremultiply(qRgba(toByte(r), toByte(g), toByte(b), alpha));
        }
    }
}

} // namespace flash
