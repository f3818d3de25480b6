// Colour-mapped, 15-bit and 32-bit pixel data of DefineBitsLossless 1 and 2.
#include "flash/render/BitmapDecoder.h"

#include "flash/render/Inflate.h"

#include <algorithm>

namespace flash {

namespace {

size_t paddedRow(size_t bytes)
{
    return (bytes + 3) & ~size_t(3);
}

// Stored premultiplied colours may claim more colour than their alpha allows;
// clamping keeps the image a valid premultiplied one.
QRgb premultipliedClamped(uint8_t a, uint8_t r, uint8_t g, uint8_t b)
{
    return qRgba(std::min(r, a), std::min(g, a), std::min(b, a), a);
}

QImage decodeColorMapped(const BitmapDef& bitmap, std::span<const uint8_t> data, bool hasAlpha)
{
    const size_t entries = bitmap.colorTableSize;
    const size_t entrySize = hasAlpha ? 4 : 3;
    const size_t w = bitmap.width, h = bitmap.height;
    const size_t tableBytes = entries * entrySize;
    const size_t rowBytes = paddedRow(w);
    if (data.size() < tableBytes + rowBytes * h)
        return {};
    std::vector<QRgb> table(256, qRgba(0, 0, 0, hasAlpha ? 0 : 255));
    for (size_t i = 0; i < entries && i < 256; ++i) {
        const uint8_t* e = data.data() + i * entrySize;
        table[i] = hasAlpha ? premultipliedClamped(e[3], e[0], e[1], e[2]) : qRgb(e[0], e[1], e[2]);
    }
    QImage image(int(w), int(h), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    const uint8_t* pixels = data.data() + tableBytes;
    for (size_t y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const uint8_t* row = pixels + y * rowBytes;
        for (size_t x = 0; x < w; ++x)
            line[x] = table[row[x]];
    }
    return image;
}

QImage decodeRgb15(const BitmapDef& bitmap, std::span<const uint8_t> data)
{
    const size_t w = bitmap.width, h = bitmap.height;
    const size_t rowBytes = paddedRow(w * 2);
    if (data.size() < rowBytes * h)
        return {};
    QImage image(int(w), int(h), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    auto expand = [](unsigned v) { return uint8_t((v << 3) | (v >> 2)); };
    for (size_t y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const uint8_t* row = data.data() + y * rowBytes;
        for (size_t x = 0; x < w; ++x) {
            const unsigned v = (unsigned(row[2 * x]) << 8) | row[2 * x + 1];
            line[x] = qRgb(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
        }
    }
    return image;
}

QImage decodeArgb32(const BitmapDef& bitmap, std::span<const uint8_t> data, bool hasAlpha)
{
    const size_t w = bitmap.width, h = bitmap.height;
    if (data.size() < w * h * 4)
        return {};
    QImage image(int(w), int(h), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    for (size_t y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const uint8_t* p = data.data() + y * w * 4;
        for (size_t x = 0; x < w; ++x, p += 4)
            line[x] = hasAlpha ? premultipliedClamped(p[0], p[1], p[2], p[3]) : qRgb(p[1], p[2], p[3]);
    }
    return image;
}

// Bytes of pixel data the format needs, before the colour table.
size_t pixelBytes(const BitmapDef& bitmap)
{
    const size_t w = bitmap.width, h = bitmap.height;
    switch (bitmap.losslessFormat) {
    case 3: return paddedRow(w) * h;
    case 4: return paddedRow(w * 2) * h;
    case 5: return w * h * 4;
    default: return 0;
    }
}

} // namespace

QImage decodeLossless(const BitmapDef& bitmap)
{
    const bool hasAlpha = bitmap.encoding == BitmapEncoding::LosslessAlpha;
    if (bitmap.width == 0 || bitmap.height == 0
        || qint64(bitmap.width) * bitmap.height > kMaxBitmapPixels)
        return {};
    const size_t pixels = pixelBytes(bitmap);
    if (pixels == 0)
        return {};
    const size_t table = bitmap.losslessFormat == 3 ? size_t(bitmap.colorTableSize) * (hasAlpha ? 4 : 3) : 0;
    const auto data = inflateBounded(bitmap.data, table + pixels, table + pixels);
    if (!data)
        return {};
    switch (bitmap.losslessFormat) {
    case 3: return decodeColorMapped(bitmap, *data, hasAlpha);
    case 4: return decodeRgb15(bitmap, *data);
    case 5: return decodeArgb32(bitmap, *data, hasAlpha);
    default: return {};
    }
}

} // namespace flash
