// Bitmap tag bodies made from QImages.
#include "BitmapEncoding.h"

#include "BitWriter.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <zlib.h>

namespace swfw {

namespace {

QImage straightArgb(const QImage& image)
{
    if (image.isNull() || image.width() > 0xFFFF || image.height() > 0xFFFF)
        throw std::invalid_argument("bitmap size out of range");
    return image.convertToFormat(QImage::Format_ARGB32);
}

uint8_t premultiply(int channel, int alpha) { return static_cast<uint8_t>((channel * alpha + 127) / 255); }

void padRow(std::vector<uint8_t>& pixels, size_t rowBytes)
{
    for (size_t i = rowBytes; i % 4 != 0; ++i)
        pixels.push_back(0);
}

// Palette entries in order of first use, and each pixel's index.
struct Palette {
    std::vector<QRgb> colors;
    std::vector<uint8_t> indices; // rows padded to 4 bytes
};

Palette buildPalette(const QImage& img)
{
    Palette p;
    std::map<QRgb, uint8_t> seen;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            auto [it, added] = seen.try_emplace(row[x], static_cast<uint8_t>(p.colors.size()));
            if (added) {
                if (p.colors.size() == 256)
                    throw std::invalid_argument("more than 256 colours for a colour-mapped bitmap");
                p.colors.push_back(row[x]);
            }
            p.indices.push_back(it->second);
        }
        padRow(p.indices, static_cast<size_t>(img.width()));
    }
    return p;
}

std::vector<uint8_t> colorMappedPixels(const Palette& p, AlphaChannel alpha)
{
    std::vector<uint8_t> out;
    for (QRgb c : p.colors) {
        const int a = alpha == AlphaChannel::With ? qAlpha(c) : 255;
        out.push_back(premultiply(qRed(c), a));
        out.push_back(premultiply(qGreen(c), a));
        out.push_back(premultiply(qBlue(c), a));
        if (alpha == AlphaChannel::With)
            out.push_back(static_cast<uint8_t>(a));
    }
    out.insert(out.end(), p.indices.begin(), p.indices.end());
    return out;
}

std::vector<uint8_t> rgb15Pixels(const QImage& img)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const uint16_t v = static_cast<uint16_t>((qRed(row[x]) >> 3) << 10 | (qGreen(row[x]) >> 3) << 5 | qBlue(row[x]) >> 3);
            out.push_back(static_cast<uint8_t>(v >> 8)); // stored big-endian
            out.push_back(static_cast<uint8_t>(v));
        }
        padRow(out, static_cast<size_t>(img.width()) * 2);
    }
    return out;
}

// 32-bit pixels: a reserved zero byte then RGB, or premultiplied ARGB with alpha.
std::vector<uint8_t> rgb32Pixels(const QImage& img, AlphaChannel alpha)
{
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(img.width()) * img.height() * 4);
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int a = alpha == AlphaChannel::With ? qAlpha(row[x]) : 255;
            out.push_back(alpha == AlphaChannel::With ? static_cast<uint8_t>(a) : 0);
            out.push_back(premultiply(qRed(row[x]), a));
            out.push_back(premultiply(qGreen(row[x]), a));
            out.push_back(premultiply(qBlue(row[x]), a));
        }
    }
    return out;
}

std::vector<uint8_t> encodeWithQt(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, quality))
        throw std::runtime_error(std::string("cannot encode bitmap as ") + format);
    return {bytes.begin(), bytes.end()};
}

} // namespace

std::vector<uint8_t> zlibCompress(std::span<const uint8_t> data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("zlib compression failed");
    out.resize(size);
    return out;
}

std::vector<uint8_t> losslessBody(uint16_t id, const QImage& image, LosslessFormat format, AlphaChannel alpha)
{
    const QImage img = straightArgb(image);
    BitWriter w;
    w.u16(id);
    w.u8(static_cast<uint8_t>(format));
    w.u16(static_cast<uint16_t>(img.width()));
    w.u16(static_cast<uint16_t>(img.height()));
    std::vector<uint8_t> pixels;
    switch (format) {
    case LosslessFormat::ColorMapped8: {
        const Palette palette = buildPalette(img);
        w.u8(static_cast<uint8_t>(palette.colors.size() - 1));
        pixels = colorMappedPixels(palette, alpha);
        break;
    }
    case LosslessFormat::Rgb15:
        if (alpha == AlphaChannel::With)
            throw std::invalid_argument("15-bit pixels have no alpha variant");
        pixels = rgb15Pixels(img);
        break;
    case LosslessFormat::Rgb32:
        pixels = rgb32Pixels(img, alpha);
        break;
    }
    w.bytes(zlibCompress(pixels));
    return w.take();
}

std::vector<uint8_t> jpegBytes(const QImage& image, int quality)
{
    return encodeWithQt(image.convertToFormat(QImage::Format_RGB32), "JPEG", quality);
}

std::vector<uint8_t> pngBytes(const QImage& image) { return encodeWithQt(image, "PNG", -1); }

namespace {

// Codes of the GIF picture data, packed least significant bit first into
// sub-blocks of at most 255 bytes.
class GifCodeWriter {
public:
    void code(uint32_t value, int bits)
    {
        m_accumulator |= value << m_bits;
        m_bits += bits;
        while (m_bits >= 8) {
            m_bytes.push_back(static_cast<uint8_t>(m_accumulator));
            m_accumulator >>= 8;
            m_bits -= 8;
        }
    }
    std::vector<uint8_t> finishBlocks()
    {
        if (m_bits > 0)
            m_bytes.push_back(static_cast<uint8_t>(m_accumulator));
        std::vector<uint8_t> out;
        for (size_t i = 0; i < m_bytes.size(); i += 255) {
            const size_t n = std::min<size_t>(255, m_bytes.size() - i);
            out.push_back(static_cast<uint8_t>(n));
            out.insert(out.end(), m_bytes.begin() + ptrdiff_t(i), m_bytes.begin() + ptrdiff_t(i + n));
        }
        out.push_back(0);
        return out;
    }

private:
    std::vector<uint8_t> m_bytes;
    uint32_t m_accumulator = 0;
    int m_bits = 0;
};

} // namespace

std::vector<uint8_t> gifBytes(const QImage& image)
{
    const QImage img = straightArgb(image);
    const Palette palette = buildPalette(img);
    BitWriter w;
    w.bytes(std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a'});
    w.u16(static_cast<uint16_t>(img.width()));
    w.u16(static_cast<uint16_t>(img.height()));
    w.u8(0xF7); // a global table of 256 colours
    w.u8(0);
    w.u8(0);
    for (size_t i = 0; i < 256; ++i) {
        const QRgb c = i < palette.colors.size() ? palette.colors[i] : 0;
        w.u8(static_cast<uint8_t>(qRed(c)));
        w.u8(static_cast<uint8_t>(qGreen(c)));
        w.u8(static_cast<uint8_t>(qBlue(c)));
    }
    w.u8(0x2C); // image descriptor: the whole screen, not interlaced
    w.u16(0);
    w.u16(0);
    w.u16(static_cast<uint16_t>(img.width()));
    w.u16(static_cast<uint16_t>(img.height()));
    w.u8(0);
    // Every pixel is sent as a literal 9-bit code; a clear code every so often
    // keeps the reader's table from growing to wider codes, so no compression is needed.
    constexpr uint32_t kClear = 256, kEnd = 257;
    constexpr int kLiteralsPerClear = 250;
    w.u8(8);
    GifCodeWriter codes;
    int sinceClear = 0;
    codes.code(kClear, 9);
    const size_t rowBytes = (static_cast<size_t>(img.width()) + 3) / 4 * 4;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (sinceClear == kLiteralsPerClear) {
                codes.code(kClear, 9);
                sinceClear = 0;
            }
            codes.code(palette.indices[y * rowBytes + x], 9);
            ++sinceClear;
        }
    codes.code(kEnd, 9);
    w.bytes(codes.finishBlocks());
    w.u8(0x3B);
    return w.take();
}

SplitJpeg splitJpegTables(std::span<const uint8_t> jpeg)
{
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        throw std::invalid_argument("not a JPEG file");
    SplitJpeg out;
    out.tables = {0xFF, 0xD8};
    out.image = {0xFF, 0xD8};
    size_t pos = 2;
    while (pos + 4 <= jpeg.size()) {
        if (jpeg[pos] != 0xFF)
            throw std::invalid_argument("JPEG marker expected");
        const uint8_t marker = jpeg[pos + 1];
        if (marker == 0xDA) { // start of scan: the rest is entropy-coded data up to EOI
            out.image.insert(out.image.end(), jpeg.begin() + static_cast<ptrdiff_t>(pos), jpeg.end());
            out.tables.insert(out.tables.end(), {0xFF, 0xD9});
            return out;
        }
        const size_t length = static_cast<size_t>(jpeg[pos + 2]) << 8 | jpeg[pos + 3];
        if (length < 2 || pos + 2 + length > jpeg.size())
            throw std::invalid_argument("JPEG segment runs past the end");
        auto& dest = (marker == 0xDB || marker == 0xC4) ? out.tables : out.image;
        dest.insert(dest.end(), jpeg.begin() + static_cast<ptrdiff_t>(pos),
                    jpeg.begin() + static_cast<ptrdiff_t>(pos + 2 + length));
        pos += 2 + length;
    }
    throw std::invalid_argument("JPEG without a scan");
}

std::vector<uint8_t> alphaPlane(const QImage& image)
{
    const QImage img = straightArgb(image);
    std::vector<uint8_t> alpha;
    alpha.reserve(static_cast<size_t>(img.width()) * img.height());
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            alpha.push_back(static_cast<uint8_t>(qAlpha(row[x])));
    }
    return zlibCompress(alpha);
}

} // namespace swfw
