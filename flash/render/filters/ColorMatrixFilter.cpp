#include "flash/render/filters/ColorMatrixFilter.h"

#include "flash/render/filters/FilterLimits.h"

#include <algorithm>
#include <array>

namespace flash {

void applyColorMatrix(QImage& image, const ColorMatrixFilter& filter)
{
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        return;
    std::array<float, 20> m;
    for (size_t i = 0; i < m.size(); ++i)
        m[i] = float(limits::clampedFinite(filter.matrix[i], -1e9, 1e9));
    auto channel = [&](int row, int r, int g, int b, int a) {
        const float* k = &m[size_t(row) * 5];
        const float value = k[0] * r + k[1] * g + k[2] * b + k[3] * a + k[4];
        return int(std::clamp(value, 0.0f, 255.0f) + 0.5f);
    };
    // Neighbouring pixels are often the same: remember the last one done.
    QRgb lastIn = 0;
    QRgb lastOut = qPremultiply(qRgba(channel(0, 0, 0, 0, 0), channel(1, 0, 0, 0, 0), channel(2, 0, 0, 0, 0),
                                      channel(3, 0, 0, 0, 0)));
    for (int y = 0; y < image.height(); ++y) {
        auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (pixels[x] != lastIn) {
                lastIn = pixels[x];
                const QRgb s = qUnpremultiply(lastIn);
                const int r = qRed(s), g = qGreen(s), b = qBlue(s), a = qAlpha(s);
                lastOut = qPremultiply(qRgba(channel(0, r, g, b, a), channel(1, r, g, b, a), channel(2, r, g, b, a),
                                             channel(3, r, g, b, a)));
            }
            pixels[x] = lastOut;
        }
    }
}

} // namespace flash
