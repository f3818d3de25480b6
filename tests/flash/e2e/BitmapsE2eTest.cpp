// Bitmaps end to end: every lossless layout, JPEG with and without shared
// tables, PNG, JPEG with an alpha plane, and clipped, repeating and
// unsmoothed bitmap fills.
#include "E2eSupport.h"

#include <functional>

using namespace e2e;

namespace {

// Four quadrants: red, green / blue, white (the left and top halves get the smaller share of an odd size).
QImage quadrants(int width, int height)
{
    QImage img(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2, bottom = y >= height / 2;
            img.setPixel(x, y, !bottom ? (right ? qRgb(0, 255, 0) : qRgb(255, 0, 0)) : (right ? qRgb(255, 255, 255) : qRgb(0, 0, 255)));
        }
    return img;
}

// Places bitmap `id` of `w` x `h` pixels scaled to fill the 80 x 80 square at (10, 10).
QImage showBitmap(SwfWriter& w, uint16_t id, int bw, int bh, FillType type = FillType::ClippedBitmap)
{
    const double scale = 80.0 / bw;
    FillStyle fill = FillStyle::bitmap(id, type, 10, 10, scale);
    fill.matrix.d = 80.0 / bh * kTwipsPerPixel;
    w.place(1, w.defineShape(ShapeBuilder().fill(fill).rect(10, 10, 80, 80)));
    return renderFirstFrame(w);
}

void expectQuadrants(const QImage& img, int tolerance)
{
    EXPECT_TRUE(colorNear(img, 30, 30, kRed, tolerance));
    EXPECT_TRUE(colorNear(img, 70, 30, kGreen, tolerance));
    EXPECT_TRUE(colorNear(img, 30, 70, kBlue, tolerance));
    EXPECT_TRUE(colorNear(img, 70, 70, kWhite, tolerance));
}

} // namespace

TEST(BitmapsE2e, LosslessLayoutsShowTheirPixels)
{
    struct Case {
        const char* name;
        LosslessFormat format;
        bool withAlpha;
    };
    for (const Case& c : {Case{"colour-mapped", LosslessFormat::ColorMapped8, false},
                          Case{"15-bit", LosslessFormat::Rgb15, false},
                          Case{"24-bit", LosslessFormat::Rgb32, false},
                          Case{"colour-mapped with alpha", LosslessFormat::ColorMapped8, true},
                          Case{"premultiplied ARGB", LosslessFormat::Rgb32, true}}) {
        SCOPED_TRACE(c.name);
        SwfWriter w = newMovie();
        // Five pixels a row: colour-mapped and 15-bit rows both need padding.
        const QImage source = quadrants(5, 5);
        const uint16_t id = c.withAlpha ? w.defineBitsLossless2(source, c.format) : w.defineBitsLossless(source, c.format);
        expectQuadrants(showBitmap(w, id, 5, 5), c.format == LosslessFormat::Rgb15 ? 10 : 4);
    }
}

TEST(BitmapsE2e, ColourMappedRowsArePaddedToFourBytes)
{
    // Five pixels a row leave three bytes of padding; a reader that skips none shears the picture.
    SwfWriter w = newMovie();
    QImage source(5, 4, QImage::Format_ARGB32);
    source.fill(qRgb(255, 0, 0));
    for (int y = 0; y < 4; ++y)
        source.setPixel(4, y, qRgb(0, 0, 255));
    const uint16_t id = w.defineBitsLossless(source, LosslessFormat::ColorMapped8);
    FillStyle fill = FillStyle::bitmap(id, FillType::ClippedBitmapHard, 0, 0, 20);
    w.place(1, w.defineShape(ShapeBuilder().fill(fill).rect(0, 0, 100, 80)));
    const QImage img = renderFirstFrame(w);
    for (int y : {10, 30, 50, 70}) {
        EXPECT_TRUE(colorNear(img, 50, y, kRed)) << "row " << y / 20;
        EXPECT_TRUE(colorNear(img, 90, y, kBlue)) << "row " << y / 20;
    }
}

TEST(BitmapsE2e, TransparentPixelsOfLossless2ShowWhatIsBehind)
{
    QImage source(4, 4, QImage::Format_ARGB32);
    source.fill(qRgba(0, 0, 0, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            source.setPixel(x, y, qRgba(255, 0, 0, 255));
    for (auto format : {LosslessFormat::Rgb32, LosslessFormat::ColorMapped8}) {
        SwfWriter w = newMovie();
        w.place(1, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x0000ff)).rect(0, 0, 100, 100)));
        const uint16_t id = w.defineBitsLossless2(source, format);
        FillStyle fill = FillStyle::bitmap(id, FillType::ClippedBitmap, 10, 10, 20);
        w.place(2, w.defineShape(ShapeBuilder().fill(fill).rect(10, 10, 80, 80)));
        const QImage img = renderFirstFrame(w);
        EXPECT_TRUE(colorNear(img, 30, 50, kRed));
        EXPECT_TRUE(colorNear(img, 70, 50, kBlue));
    }
}

TEST(BitmapsE2e, HalfTransparentPremultipliedPixelsBlendOnce)
{
    // Stored as premultiplied (128, 0, 0, 128): over white that is (255, 127, 127), not darker.
    QImage source(2, 2, QImage::Format_ARGB32);
    source.fill(qRgba(255, 0, 0, 128));
    SwfWriter w = newMovie();
    const uint16_t id = w.defineBitsLossless2(source, LosslessFormat::Rgb32);
    w.place(1, w.defineShape(ShapeBuilder().fill(FillStyle::bitmap(id, FillType::ClippedBitmap, 10, 10, 40)).rect(10, 10, 80, 80)));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 50, 50, QColor(255, 127, 127), 4));
}

TEST(BitmapsE2e, JpegPicturesInEveryContainer)
{
    const QImage source = quadrants(16, 16);
    struct Case {
        const char* name;
        std::function<uint16_t(SwfWriter&)> define;
    };
    const Case cases[] = {
        {"DefineBits with JPEGTables", [&](SwfWriter& w) { return w.defineBitsJpegWithTables(source, 95); }},
        {"DefineBitsJPEG2", [&](SwfWriter& w) { return w.defineBitsJpeg2(source, 95); }},
        {"DefineBitsJPEG2 with a leading EOI SOI", [&](SwfWriter& w) {
             return w.defineBitsJpeg2(source, 95, SwfWriter::JpegQuirk::LeadingEoiSoi);
         }},
        {"DefineBitsJPEG2 holding a PNG", [&](SwfWriter& w) { return w.defineBitsPng(source); }},
        {"DefineBitsJPEG2 holding a GIF", [&](SwfWriter& w) { return w.defineBitsGif(source); }},
        {"DefineBitsJPEG3", [&](SwfWriter& w) { return w.defineBitsJpeg3(source, 95); }},
        {"DefineBitsJPEG4", [&](SwfWriter& w) { return w.defineBitsJpeg4(source, 95, 0.5); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SwfWriter w = newMovie(8);
        const uint16_t id = c.define(w);
        expectQuadrants(showBitmap(w, id, 16, 16), 24);
    }
}

TEST(BitmapsE2e, JpegAlphaPlaneMakesPixelsTransparent)
{
    QImage source = quadrants(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (y >= 8)
                source.setPixel(x, y, qRgba(0, 0, 0, 0)); // bottom half clear
    SwfWriter w = newMovie(8);
    w.place(1, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x00ff00)).rect(0, 50, 100, 50)));
    const uint16_t id = w.defineBitsJpeg3(source, 95);
    FillStyle fill = FillStyle::bitmap(id, FillType::ClippedBitmap, 10, 10, 5);
    w.place(2, w.defineShape(ShapeBuilder().fill(fill).rect(10, 10, 80, 80)));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 30, 30, kRed, 24));
    EXPECT_TRUE(colorNear(img, 30, 75, kGreen, 24)) << "the shape behind shows through the clear half";
}

TEST(BitmapsE2e, RepeatingFillTilesTheStage)
{
    // A 2 x 2 checker at 10 px per bitmap pixel, filling the whole stage.
    QImage checker(2, 2, QImage::Format_ARGB32);
    checker.setPixel(0, 0, qRgb(255, 0, 0));
    checker.setPixel(1, 1, qRgb(255, 0, 0));
    checker.setPixel(1, 0, qRgb(0, 0, 255));
    checker.setPixel(0, 1, qRgb(0, 0, 255));
    SwfWriter w = newMovie();
    const uint16_t id = w.defineBitsLossless(checker);
    FillStyle fill = FillStyle::bitmap(id, FillType::RepeatingBitmapHard, 0, 0, 10);
    w.place(1, w.defineShape(ShapeBuilder().fill(fill).rect(0, 0, 100, 100)));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 5, 5, kRed));
    EXPECT_TRUE(colorNear(img, 15, 5, kBlue));
    EXPECT_TRUE(colorNear(img, 45, 45, kRed)) << "the tile repeats";
    EXPECT_TRUE(colorNear(img, 85, 95, kBlue));
}

TEST(BitmapsE2e, ClippedFillStretchesTheEdgePixelsBeyondTheBitmap)
{
    // A 2 x 2 bitmap covering 20 x 20 px of a 100 x 100 shape: past its right
    // and bottom edges the last column and row carry on.
    SwfWriter w = newMovie();
    const uint16_t id = w.defineBitsLossless(quadrants(2, 2));
    w.place(1, w.defineShape(ShapeBuilder().fill(FillStyle::bitmap(id, FillType::ClippedBitmapHard, 0, 0, 10)).rect(0, 0, 100, 100)));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 5, 5, kRed));
    EXPECT_TRUE(colorNear(img, 80, 5, kGreen));
    EXPECT_TRUE(colorNear(img, 5, 80, kBlue));
    EXPECT_TRUE(colorNear(img, 80, 80, kWhite));
}

TEST(BitmapsE2e, UnsmoothedFillKeepsHardPixelEdges)
{
    QImage two(2, 1, QImage::Format_ARGB32);
    two.setPixel(0, 0, qRgb(255, 0, 0));
    two.setPixel(1, 0, qRgb(0, 0, 255));
    SwfWriter w = newMovie();
    const uint16_t hard = w.defineBitsLossless(two);
    FillStyle fill = FillStyle::bitmap(hard, FillType::ClippedBitmapHard, 0, 0, 50);
    w.place(1, w.defineShape(ShapeBuilder().fill(fill).rect(0, 0, 100, 50)));
    FillStyle smooth = FillStyle::bitmap(hard, FillType::ClippedBitmap, 0, 50, 50);
    w.place(2, w.defineShape(ShapeBuilder().fill(smooth).rect(0, 50, 100, 50)));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 45, 25, kRed, 3)) << "unsmoothed: red right up to the pixel edge";
    EXPECT_TRUE(colorNear(img, 54, 25, kBlue, 3));
    const QColor blended = pixel(img, 45, 75);
    EXPECT_GT(blended.blue(), 20) << "smoothed: the neighbouring pixel bleeds in near the edge";
}
