// What the renderer caches must never leak between instances or frames:
// one definition drawn at several tints, ratios and frames at once.
#include "E2eSupport.h"

using namespace e2e;

TEST(CachingE2e, OneBitmapUnderSeveralTintsAndFrames)
{
    SwfWriter w = newMovie();
    QImage white(2, 2, QImage::Format_ARGB32);
    white.fill(qRgb(255, 255, 255));
    const uint16_t bitmap = w.defineBitsLossless(white);
    const uint16_t picture = w.defineShape(ShapeBuilder().fill(FillStyle::bitmap(bitmap, FillType::ClippedBitmap, 0, 0, 15)).rect(0, 0, 30, 30));
    auto put = [&](uint16_t depth, double x, ColorTransform cx) {
        w.place(Placement{.depth = depth, .characterId = picture, .matrix = Matrix::translation(x, 10), .colorTransform = cx});
    };
    put(1, 0, ColorTransform::multiply(1, 0, 0));
    put(2, 35, ColorTransform::multiply(0, 1, 0));
    put(3, 70, ColorTransform{});
    w.showFrame();
    w.place(Placement{.depth = 1, .colorTransform = ColorTransform::multiply(0, 0, 1), .move = true});
    w.showFrame();
    PlayedMovie movie(w.finish());
    QImage img = movie.image();
    EXPECT_TRUE(colorNear(img, 15, 25, kRed));
    EXPECT_TRUE(colorNear(img, 50, 25, kGreen));
    EXPECT_TRUE(colorNear(img, 85, 25, kWhite, 2) && colorNear(img, 85, 5, kWhite)); // untinted, on white
    img = movie.advance().image();
    EXPECT_TRUE(colorNear(img, 15, 25, kBlue)) << "the new tint of the next frame";
    EXPECT_TRUE(colorNear(img, 50, 25, kGreen));
}

TEST(CachingE2e, OneMorphAtTwoRatiosInTheSameFrame)
{
    SwfWriter w = newMovie();
    const uint16_t morph = w.defineMorphShape(square(0, 0, 20, Color::rgb(0xff0000)), square(0, 0, 40, Color::rgb(0x0000ff)));
    w.place(Placement{.depth = 1, .characterId = morph, .matrix = Matrix::translation(5, 5), .ratio = 0});
    w.place(Placement{.depth = 2, .characterId = morph, .matrix = Matrix::translation(55, 5), .ratio = 65535});
    w.place(Placement{.depth = 3, .characterId = morph, .matrix = Matrix::translation(5, 55), .ratio = 65535});
    w.place(Placement{.depth = 4, .characterId = morph, .matrix = Matrix::translation(55, 55), .ratio = 0});
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 15, 15, kRed));
    EXPECT_TRUE(colorNear(img, 35, 35, kWhite));
    EXPECT_TRUE(colorNear(img, 85, 35, kBlue));
    EXPECT_TRUE(colorNear(img, 35, 85, kBlue));
    EXPECT_TRUE(colorNear(img, 65, 65, kRed));
    EXPECT_TRUE(colorNear(img, 85, 85, kWhite));
}

TEST(CachingE2e, OneTextInTwoColoursAndSizes)
{
    SwfWriter w = newMovie();
    FontBuilder font("Bar");
    font.glyph(u'I', ShapeBuilder().fillSolid(Color{}).rect(0, -1024, 1024, 1024), 1024);
    const uint16_t text = w.defineText({TextRun{w.defineFont(font), 20, Color::rgb(0xff0000), 0, 20, u"I"}});
    w.place(1, text, Matrix::translation(10, 10));
    w.place(Placement{.depth = 2, .characterId = text, .matrix = Matrix::scaling(2).then(Matrix::translation(50, 50)),
                      .colorTransform = ColorTransform{0, 0, 0, 1, 0, 255, 0, 0}});
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 20, 20, kRed));
    EXPECT_TRUE(colorNear(img, 32, 20, kWhite));
    EXPECT_TRUE(colorNear(img, 70, 70, kGreen));
    EXPECT_TRUE(colorNear(img, 88, 88, kGreen)) << "drawn at twice the size: 40 x 40";
}
