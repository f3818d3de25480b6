// Per-pixel colour transform through one lookup table per channel, and edge extension.
#include "flash/render/ImageColorTransform.h"

#include <algorithm>
#include <array>

namespace flash {

namespace {

using Table = std::array<uint8_t, 256>;

Table channelTable(double mult, double add)
{
    Table table{};
    for (int v = 0; v < 256; ++v) {
        const double out = v * mult + add;
        table[v] = static_cast<uint8_t>(out < 0 ? 0 : out > 255 ? 255 : out);
    }
    return table;
}

} // namespace

QImage colorTransformed(const QImage& image, const ColorTransform& transform)
{
    if (image.isNull() || transform.isIdentity())
        return image;
    const Table r = channelTable(transform.rMult, transform.rAdd);
    const Table g = channelTable(transform.gMult, transform.gAdd);
    const Table b = channelTable(transform.bMult, transform.bAdd);
    const Table a = channelTable(transform.aMult, transform.aAdd);
    QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(straight.scanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(r[qRed(p)], g[qGreen(p)], b[qBlue(p)], a[qAlpha(p)]);
        }
    }
    return straight.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage withRepeatedEdges(const QImage& image, int border)
{
    if (image.isNull() || border <= 0)
        return image;
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = source.width(), h = source.height();
    QImage out(w + 2 * border, h + 2 * border, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    for (int y = 0; y < out.height(); ++y) {
        const int sy = std::clamp(y - border, 0, h - 1);
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        std::fill(dst, dst + border, src[0]);
        std::copy(src, src + w, dst + border);
        std::fill(dst + border + w, dst + out.width(), src[w - 1]);
    }
    return out;
}

} // namespace flash
