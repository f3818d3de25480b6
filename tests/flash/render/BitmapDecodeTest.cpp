// Bitmap decoding: lossless formats, JPEG with tables and stray markers, alpha planes, broken data.
#include "RenderScene.h"

#include "flash/render/BitmapDecoder.h"

#include <QBuffer>
#include <zlib.h>

namespace flash::test {
namespace {

std::vector<uint8_t> deflate(const std::vector<uint8_t>& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> out(size);
    EXPECT_EQ(compress(out.data(), &size, raw.data(), uLong(raw.size())), Z_OK);
    out.resize(size);
    return out;
}

BitmapDef lossless(BitmapEncoding encoding, uint8_t format, uint16_t w, uint16_t h,
                   const std::vector<uint8_t>& raw, uint16_t tableSize = 0)
{
    BitmapDef def;
    def.encoding = encoding;
    def.losslessFormat = format;
    def.width = w;
    def.height = h;
    def.colorTableSize = tableSize;
    def.data = deflate(raw);
    return def;
}

::testing::AssertionResult pixelIs(const QImage& image, int x, int y, Rgba expected, int tolerance = 0)
{
    if (image.isNull())
        return ::testing::AssertionFailure() << "null image";
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        return ::testing::AssertionFailure() << "not premultiplied ARGB";
    return colorNear(pixelAt(image, x, y), expected, tolerance);
}

TEST(BitmapDecode, ColourMappedRowsArePaddedToFourBytes)
{
    // 3 x 2 pixels: each row is 3 indices and one padding byte.
    std::vector<uint8_t> raw = {255, 0, 0, 0, 255, 0, 0, 0, 255}; // red, green, blue
    raw.insert(raw.end(), {0, 1, 2, 99, 2, 2, 0, 99});
    const QImage image = decodeLossless(lossless(BitmapEncoding::Lossless, 3, 3, 2, raw, 3));
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_TRUE(pixelIs(image, 0, 0, kRed));
    EXPECT_TRUE(pixelIs(image, 2, 0, kBlue));
    EXPECT_TRUE(pixelIs(image, 0, 1, kBlue));
    EXPECT_TRUE(pixelIs(image, 2, 1, kRed));
}

TEST(BitmapDecode, ColourMappedWithAlphaTable)
{
    std::vector<uint8_t> raw = {255, 0, 0, 255, 64, 0, 0, 128}; // opaque red, half-transparent red (premultiplied)
    raw.insert(raw.end(), {0, 1, 0, 0});
    const QImage image = decodeLossless(lossless(BitmapEncoding::LosslessAlpha, 3, 2, 1, raw, 2));
    EXPECT_TRUE(pixelIs(image, 0, 0, kRed));
    EXPECT_TRUE(pixelIs(image, 1, 0, Rgba{128, 0, 0, 128}, 2));
}

TEST(BitmapDecode, FifteenBitPixels)
{
    // One pixel per row, rows padded to four bytes: pure red, then pure blue.
    const std::vector<uint8_t> raw = {0x7C, 0x00, 0, 0, 0x00, 0x1F, 0, 0};
    const QImage image = decodeLossless(lossless(BitmapEncoding::Lossless, 4, 1, 2, raw));
    EXPECT_TRUE(pixelIs(image, 0, 0, kRed));
    EXPECT_TRUE(pixelIs(image, 0, 1, kBlue));
}

TEST(BitmapDecode, ThirtyTwoBitPixels)
{
    const std::vector<uint8_t> xrgb = {0, 255, 0, 0, 7, 0, 255, 0};
    const QImage opaque = decodeLossless(lossless(BitmapEncoding::Lossless, 5, 2, 1, xrgb));
    EXPECT_TRUE(pixelIs(opaque, 0, 0, kRed));
    EXPECT_TRUE(pixelIs(opaque, 1, 0, kGreen));

    const std::vector<uint8_t> argb = {128, 0, 0, 128, 0, 0, 0, 0};
    const QImage alpha = decodeLossless(lossless(BitmapEncoding::LosslessAlpha, 5, 2, 1, argb));
    EXPECT_TRUE(pixelIs(alpha, 0, 0, Rgba{0, 0, 255, 128}, 2));
    EXPECT_EQ(pixelAt(alpha, 1, 0).a, 0);
}

TEST(BitmapDecode, BrokenLosslessDataGivesNoImage)
{
    const std::vector<uint8_t> raw(16, 0x55);
    BitmapDef shortData = lossless(BitmapEncoding::Lossless, 5, 4, 4, raw); // needs 64 bytes
    EXPECT_TRUE(decodeLossless(shortData).isNull());
    BitmapDef truncated = lossless(BitmapEncoding::Lossless, 5, 2, 2, raw);
    truncated.data.resize(truncated.data.size() / 2);
    EXPECT_TRUE(decodeLossless(truncated).isNull());
    BitmapDef unknownFormat = lossless(BitmapEncoding::Lossless, 9, 2, 2, raw);
    EXPECT_TRUE(decodeLossless(unknownFormat).isNull());
    BitmapDef huge = lossless(BitmapEncoding::Lossless, 5, 65535, 65535, raw);
    EXPECT_TRUE(decodeLossless(huge).isNull());
    BitmapDef empty = lossless(BitmapEncoding::Lossless, 3, 0, 5, raw);
    EXPECT_TRUE(decodeLossless(empty).isNull());
    BitmapDef garbage;
    garbage.encoding = BitmapEncoding::Image;
    garbage.data = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x01};
    EXPECT_TRUE(decodeBitmap(garbage, {}).isNull());
}

// A 16 x 16 picture: left half red, right half blue.
QImage twoColourPicture()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            image.setPixel(x, y, qRgb(0, 0, 255));
    return image;
}

std::vector<uint8_t> encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, 95));
    return {bytes.begin(), bytes.end()};
}

// Splits a JPEG file as movies store it: the quantisation and Huffman tables
// in their own start/end-wrapped block, and the rest of the picture.
struct SplitJpeg {
    std::vector<uint8_t> tables{0xFF, 0xD8};
    std::vector<uint8_t> image{0xFF, 0xD8};
};

SplitJpeg splitJpeg(const std::vector<uint8_t>& jpeg)
{
    SplitJpeg split;
    size_t pos = 2;
    while (pos + 4 <= jpeg.size()) {
        const uint8_t marker = jpeg[pos + 1];
        if (marker == 0xDA) { // the scan runs to the end of the file
            split.image.insert(split.image.end(), jpeg.begin() + pos, jpeg.end());
            break;
        }
        const size_t length = (size_t(jpeg[pos + 2]) << 8) | jpeg[pos + 3];
        auto& target = (marker == 0xDB || marker == 0xC4) ? split.tables : split.image;
        target.insert(target.end(), jpeg.begin() + pos, jpeg.begin() + pos + 2 + length);
        pos += 2 + length;
    }
    split.tables.insert(split.tables.end(), {0xFF, 0xD9});
    return split;
}

void expectTwoColours(const QImage& image)
{
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_TRUE(pixelIs(image, 2, 8, kRed, 24));
    EXPECT_TRUE(pixelIs(image, 13, 8, kBlue, 24));
}

TEST(BitmapDecode, JpegCompletedByTheMovieTables)
{
    const SplitJpeg split = splitJpeg(encode(twoColourPicture(), "JPEG"));
    BitmapDef def;
    def.encoding = BitmapEncoding::JpegWithTables;
    def.data = split.image;
    expectTwoColours(decodeBitmap(def, split.tables));

    // The stray end/start pair that many files carry before the picture.
    def.data.insert(def.data.begin(), {0xFF, 0xD9, 0xFF, 0xD8});
    expectTwoColours(decodeBitmap(def, split.tables));
}

TEST(BitmapDecode, WholeJpegWithStrayMarkersInTheMiddle)
{
    const SplitJpeg split = splitJpeg(encode(twoColourPicture(), "JPEG"));
    // Tables and picture in one tag, joined with their end and start markers
    // left in: FFD8 tables FFD9 FFD8 picture.
    BitmapDef def;
    def.encoding = BitmapEncoding::Image;
    def.data = split.tables;
    def.data.insert(def.data.end(), split.image.begin(), split.image.end());
    expectTwoColours(decodeBitmap(def, {}));
}

TEST(BitmapDecode, PngAndGifInsideJpegTags)
{
    BitmapDef png;
    png.encoding = BitmapEncoding::Image;
    png.data = encode(twoColourPicture(), "PNG");
    expectTwoColours(decodeBitmap(png, {}));

    // A 1 x 1 GIF of one red pixel (Qt writes no GIF); its alpha plane is ignored.
    static constexpr uint8_t kRedDot[] = {
        'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0,
        ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 'D', 1, 0, ';'};
    BitmapDef gif;
    gif.encoding = BitmapEncoding::ImageWithAlpha;
    gif.data.assign(std::begin(kRedDot), std::end(kRedDot));
    gif.alphaData = {1, 2, 3};
    const QImage dot = decodeBitmap(gif, {});
    ASSERT_EQ(dot.size(), QSize(1, 1));
    EXPECT_TRUE(pixelIs(dot, 0, 0, kRed));
}

TEST(BitmapDecode, JpegWithAlphaPlaneIsPremultiplied)
{
    BitmapDef def;
    def.encoding = BitmapEncoding::ImageWithAlpha;
    def.data = encode(twoColourPicture(), "JPEG");
    std::vector<uint8_t> alpha(16 * 16, 255);
    for (int y = 0; y < 16; ++y)
        alpha[y * 16 + 2] = 0;       // column 2 transparent
    for (int y = 0; y < 16; ++y)
        alpha[y * 16 + 13] = 128;    // column 13 half
    def.alphaData = deflate(alpha);
    const QImage image = decodeBitmap(def, {});
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(qAlpha(image.pixel(2, 5)), 0);
    EXPECT_EQ(qAlpha(image.pixel(13, 5)), 128);
    EXPECT_LE(qBlue(image.pixel(13, 5)), 128); // premultiplied: colour within alpha
    EXPECT_TRUE(pixelIs(image, 5, 5, kRed, 24));
}

} // namespace
} // namespace flash::test
