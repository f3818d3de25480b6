// Checks the writer's own encodings where a slip would corrupt every movie the tests build.
#include "BitWriter.h"
#include "BitmapEncoding.h"
#include "Records.h"
#include "SwfWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace swfw;

TEST(BitWriter, SignedWidthsIncludeTheSignBit)
{
    EXPECT_EQ(BitWriter::signedBits(0), 0);
    EXPECT_EQ(BitWriter::signedBits(1), 2);
    EXPECT_EQ(BitWriter::signedBits(-1), 1);
    EXPECT_EQ(BitWriter::signedBits(-2), 2);
    EXPECT_EQ(BitWriter::signedBits(63), 7);
    EXPECT_EQ(BitWriter::signedBits(64), 8);
    EXPECT_EQ(BitWriter::signedBits(-64), 7);
    EXPECT_EQ(BitWriter::signedBits(-65), 8);
    EXPECT_EQ(BitWriter::unsignedBits(255), 8);
    EXPECT_EQ(BitWriter::unsignedBits(256), 9);
}

TEST(BitWriter, PacksFieldsMostSignificantBitFirstAcrossBytes)
{
    BitWriter w;
    w.ub(0b101, 3);
    w.sb(-3, 4);  // 1101
    w.ub(0x1FF, 9);
    w.u8(0x42);   // aligns first
    EXPECT_EQ(w.data(), (std::vector<uint8_t>{0b10111011, 0xFF, 0x42}));
    EXPECT_THROW(w.sb(8, 4), std::invalid_argument);
    EXPECT_THROW(w.ub(16, 4), std::invalid_argument);
}

TEST(SwfWriter, HeaderOfAnEmptyMovieIsTheWellKnownLayout)
{
    // 550 x 400 pixels at 12 frames a second, one frame.
    SwfWriter w(6, 550, 400, 12);
    w.showFrame();
    const auto bytes = w.finish();
    const std::vector<uint8_t> expected{'F', 'W', 'S', 6, 0, 0, 0, 0,
                                        0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00,
                                        0x00, 0x0C, 0x01, 0x00,
                                        0x40, 0x00,  // ShowFrame
                                        0x00, 0x00}; // End
    ASSERT_EQ(bytes.size(), expected.size());
    EXPECT_EQ(bytes[4], expected.size());
    EXPECT_TRUE(std::equal(bytes.begin() + 8, bytes.end(), expected.begin() + 8));
}

TEST(SwfWriter, TagHeadersTurnLongAtSixtyThreeBytesOrWhenAsked)
{
    std::vector<uint8_t> out;
    appendTag(out, 12, std::vector<uint8_t>(62, 0));
    EXPECT_EQ(out.size(), 2u + 62);
    EXPECT_EQ(out[0] | out[1] << 8, 12 << 6 | 62);
    out.clear();
    appendTag(out, 12, std::vector<uint8_t>(63, 0));
    ASSERT_EQ(out.size(), 6u + 63);
    EXPECT_EQ(out[0] | out[1] << 8, 12 << 6 | 0x3F);
    EXPECT_EQ(out[2], 63);
    out.clear();
    appendTag(out, 20, std::vector<uint8_t>(5, 0), TagHeader::Long);
    EXPECT_EQ(out.size(), 6u + 5);
}

TEST(SwfWriter, CompressedMovieInflatesToTheDeclaredLength)
{
    SwfWriter w(10, 100, 100, 30);
    w.place(1, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x336699)).circle(50, 50, 40))).showFrame();
    const auto plain = w.finish(Compression::None);
    const auto packed = w.finish(Compression::Zlib);
    ASSERT_EQ(packed[0], 'C');
    const uint32_t declared = packed[4] | packed[5] << 8 | packed[6] << 16 | uint32_t(packed[7]) << 24;
    EXPECT_EQ(declared, plain.size());
    std::vector<uint8_t> inflated(declared - 8);
    uLongf size = static_cast<uLongf>(inflated.size());
    ASSERT_EQ(uncompress(inflated.data(), &size, packed.data() + 8, static_cast<uLong>(packed.size() - 8)), Z_OK);
    EXPECT_EQ(size, inflated.size());
    EXPECT_TRUE(std::equal(inflated.begin(), inflated.end(), plain.begin() + 8));
}

TEST(ShapeWriter, RejectsWhatTheFormatCannotHold)
{
    SwfWriter w(10, 100, 100, 30);
    ShapeBuilder focal;
    focal.fill(FillStyle::focal({{{0, Color{}}, {255, Color{}}}}, 0, 0, 10, 0.5)).rect(0, 0, 10, 10);
    EXPECT_THROW(w.defineShape(focal, 3), std::invalid_argument);
    EXPECT_NO_THROW(w.defineShape(focal, 4));
    ShapeBuilder twoGroups;
    twoGroups.fillSolid(Color{}).rect(0, 0, 1, 1).newStyles().fillSolid(Color{}).rect(2, 2, 1, 1);
    EXPECT_THROW(w.defineShape(twoGroups, 1), std::invalid_argument);
    EXPECT_NO_THROW(w.defineShape(twoGroups, 2));
    ShapeBuilder a, b;
    a.fillSolid(Color{}).rect(0, 0, 10, 10);
    b.fillSolid(Color{}).circle(0, 0, 10);
    EXPECT_THROW(w.defineMorphShape(a, b), std::invalid_argument);
}

TEST(BitmapEncoding, GifReadsBackPixelForPixel)
{
    // 1200 pixels: the writer's periodic clear codes are crossed several times.
    QImage source(40, 30, QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            source.setPixel(x, y, qRgb((x * 37) % 5 * 60, (y * 11) % 3 * 120, (x + y) % 2 * 255));
    const auto gif = gifBytes(source);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(gif.data(), int(gif.size()), "GIF")) << "no GIF reader available?";
    ASSERT_EQ(decoded.size(), source.size());
    decoded = decoded.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(decoded.pixel(x, y), source.pixel(x, y)) << x << ", " << y;
}

TEST(BitmapEncoding, JpegTablesAndImageSplitAtTheirSegments)
{
    QImage source(8, 8, QImage::Format_RGB32);
    source.fill(qRgb(200, 100, 50));
    const auto jpeg = jpegBytes(source, 90);
    const SplitJpeg split = splitJpegTables(jpeg);
    auto hasMarker = [](const std::vector<uint8_t>& v, uint8_t marker) {
        for (size_t i = 0; i + 1 < v.size(); ++i)
            if (v[i] == 0xFF && v[i + 1] == marker)
                return true;
        return false;
    };
    EXPECT_TRUE(hasMarker(split.tables, 0xDB) && hasMarker(split.tables, 0xC4));
    EXPECT_FALSE(hasMarker(split.tables, 0xDA));
    EXPECT_TRUE(hasMarker(split.image, 0xDA) && hasMarker(split.image, 0xC0));
    EXPECT_EQ(split.tables.size() + split.image.size(), jpeg.size() + 4) << "only an SOI and an EOI are added";
}
