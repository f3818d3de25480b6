// Per-pixel colour transform through one lookup table per channel.
#include "flash/render/ImageColorTransform.h"

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

} // namespace flash
