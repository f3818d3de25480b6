// Compositing end to end: blend modes on their own and inside layers,
// sprite-wide colour transforms, hidden objects, and the stage scaled
// "show all" into views of other sizes.
#include "E2eSupport.h"

using namespace e2e;

namespace {

// Draws `top` over `bottom` (two colours filling 40 x 40 squares) with `mode`; returns the result.
QColor blended(Color bottom, Color top, BlendMode mode)
{
    SwfWriter w = newMovie(8);
    w.place(1, w.defineShape(square(30, 30, 40, bottom)));
    w.place(Placement{.depth = 2, .characterId = w.defineShape(square(30, 30, 40, top)), .matrix = Matrix{}, .blendMode = mode});
    return pixel(renderFirstFrame(w), 50, 50);
}

::testing::AssertionResult channelsNear(QColor c, int r, int g, int b, int tolerance = 4)
{
    if (std::abs(c.red() - r) <= tolerance && std::abs(c.green() - g) <= tolerance && std::abs(c.blue() - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got rgb(" << c.red() << ", " << c.green() << ", " << c.blue()
                                         << "), expected rgb(" << r << ", " << g << ", " << b << ")";
}

} // namespace

TEST(CompositingE2e, SeparableBlendModes)
{
    const Color grey = Color::rgb(0x40c8c8); // (64, 200, 200)
    const Color paint = Color::rgb(0xc84032); // (200, 64, 50)
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::Multiply), 50, 50, 39));
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::Screen), 214, 214, 210));
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::Lighten), 200, 200, 200));
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::Darken), 64, 64, 50));
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::Difference), 136, 136, 150));
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::Add), 255, 255, 250));
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::Subtract), 0, 136, 150));
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::Invert), 191, 55, 55));
    // Overlay lets the colour below decide between multiply and screen; hard light the colour on top.
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::Overlay), 100, 173, 167, 6));
    EXPECT_TRUE(channelsNear(blended(grey, paint, BlendMode::HardLight), 173, 100, 78, 6));
}

TEST(CompositingE2e, SpriteAlphaBlendsEachChildUnlessItIsALayer)
{
    SwfWriter w = newMovie(8);
    const uint16_t red = w.defineShape(square(0, 0, 30, Color::rgb(0xff0000)));
    Timeline pair;
    pair.place(1, red).place(2, red, Matrix::translation(20, 0)).showFrame();
    const uint16_t sprite = w.defineSprite(pair);
    w.place(Placement{.depth = 1, .characterId = sprite, .matrix = Matrix::translation(10, 10),
                      .colorTransform = ColorTransform::alpha(0.5)});
    w.place(Placement{.depth = 2, .characterId = sprite, .matrix = Matrix::translation(10, 60),
                      .colorTransform = ColorTransform::alpha(0.5), .blendMode = BlendMode::Layer});
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 15, 20, QColor(255, 127, 127), 4));
    EXPECT_TRUE(colorNear(img, 35, 20, QColor(255, 63, 63), 6)) << "each child blended on its own: the overlap is darker";
    EXPECT_TRUE(colorNear(img, 15, 70, QColor(255, 127, 127), 4));
    EXPECT_TRUE(colorNear(img, 35, 70, QColor(255, 127, 127), 4)) << "a layer is blended once, as a whole";
}

TEST(CompositingE2e, EraseCutsThroughItsLayer)
{
    SwfWriter w = newMovie(8);
    w.place(1, w.defineShape(square(0, 0, 100, Color::rgb(0xffff00))));
    const uint16_t blue = w.defineShape(square(0, 0, 60, Color::rgb(0x0000ff)));
    const uint16_t hole = w.defineShape(square(0, 0, 20, Color::rgb(0x000000)));
    Timeline layer;
    layer.place(1, blue).place(Placement{.depth = 2, .characterId = hole, .matrix = Matrix::translation(20, 20),
                                         .blendMode = BlendMode::Erase}).showFrame();
    w.place(Placement{.depth = 2, .characterId = w.defineSprite(layer), .matrix = Matrix::translation(20, 20),
                      .blendMode = BlendMode::Layer});
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 25, 25, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 50, QColor(255, 255, 0))) << "erased to what lies below the layer";
    EXPECT_TRUE(colorNear(img, 5, 5, QColor(255, 255, 0)));
}

TEST(CompositingE2e, SpritesAndTextCanBeMasks)
{
    SwfWriter w = newMovie();
    const uint16_t circle = w.defineShape(ShapeBuilder().fillSolid(Color{}).circle(0, 0, 20));
    Timeline maskSprite;
    maskSprite.place(1, circle, Matrix::translation(25, 25)).place(2, circle, Matrix::translation(75, 25)).showFrame();
    FontBuilder font("Bar");
    font.glyph(u'I', ShapeBuilder().fillSolid(Color{}).rect(0, -1024, 1024, 1024), 1024);
    const uint16_t text = w.defineText({TextRun{w.defineFont(font), 20, Color::rgb(0x000000), 40, 90, u"I"}});
    const uint16_t red = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xff0000)).rect(0, 0, 100, 100));
    w.place(Placement{.depth = 1, .characterId = w.defineSprite(maskSprite), .matrix = Matrix{}, .clipDepth = 2});
    w.place(2, red);
    w.place(Placement{.depth = 3, .characterId = text, .matrix = Matrix{}, .clipDepth = 4});
    w.place(4, red);
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 25, 25, kRed)) << "inside the sprite's first circle";
    EXPECT_TRUE(colorNear(img, 75, 25, kRed)) << "inside its second";
    EXPECT_TRUE(colorNear(img, 50, 25, kWhite));
    EXPECT_TRUE(colorNear(img, 50, 80, kRed)) << "inside the glyph, 40..60 x 70..90";
    EXPECT_TRUE(colorNear(img, 30, 80, kWhite));
}

TEST(CompositingE2e, MasksInsideSpritesClipOnlyTheirSiblings)
{
    SwfWriter w = newMovie();
    const uint16_t half = w.defineShape(ShapeBuilder().fillSolid(Color{}).rect(0, 0, 50, 100));
    const uint16_t red = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xff0000)).rect(0, 0, 100, 50));
    const uint16_t blue = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x0000ff)).rect(0, 50, 100, 50));
    Timeline masked;
    masked.place(Placement{.depth = 1, .characterId = half, .matrix = Matrix{}, .clipDepth = 2}).place(2, red).showFrame();
    w.place(1, w.defineSprite(masked));
    w.place(2, blue);
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 25, 25, kRed));
    EXPECT_TRUE(colorNear(img, 75, 25, kWhite));
    EXPECT_TRUE(colorNear(img, 75, 75, kBlue)) << "the main timeline's depth 2 is not the sprite's";
}

TEST(CompositingE2e, ColourTransformsOfSpritesAndChildrenCompose)
{
    SwfWriter w = newMovie();
    const uint16_t grey = w.defineShape(square(0, 0, 40, Color::rgb(0x808080)));
    Timeline inner;
    inner.place(Placement{.depth = 1, .characterId = grey, .matrix = Matrix{}, .colorTransform = ColorTransform::add(100, 0, 0)}).showFrame();
    w.place(Placement{.depth = 1, .characterId = w.defineSprite(inner), .matrix = Matrix::translation(30, 30),
                      .colorTransform = ColorTransform::multiply(0.5, 1, 0)});
    const QImage img = renderFirstFrame(w);
    // The child's own transform first (228, 128, 128), then the sprite's.
    EXPECT_TRUE(colorNear(img, 50, 50, QColor(114, 128, 0), 3));
}

TEST(CompositingE2e, InvisibleObjectsAreNotDrawn)
{
    SwfWriter w = newMovie(11);
    const uint16_t red = w.defineShape(square(0, 0, 40, Color::rgb(0xff0000)));
    w.place(Placement{.depth = 1, .characterId = red, .matrix = Matrix::translation(5, 5), .visible = false});
    w.place(Placement{.depth = 2, .characterId = red, .matrix = Matrix::translation(55, 55), .visible = true});
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 25, 25, kWhite));
    EXPECT_TRUE(colorNear(img, 75, 75, kRed));
}

TEST(CompositingE2e, StageIsScaledToShowAllCentredOnTheBackground)
{
    auto movie = [] {
        SwfWriter w(10, 100, 100, 12);
        w.background(Color::rgb(0x336699));
        w.place(1, w.defineShape(square(20, 20, 20, Color::rgb(0xff0000))));
        w.showFrame();
        return w.finish();
    }();
    PlayedMovie played(movie);
    ASSERT_TRUE(played.loaded());
    const QColor background(0x33, 0x66, 0x99);
    const QImage wide = played.image(QSize(200, 100));
    EXPECT_TRUE(colorNear(wide, 25, 50, background)) << "the bar left of the stage";
    EXPECT_TRUE(colorNear(wide, 175, 50, background));
    EXPECT_TRUE(colorNear(wide, 80, 30, kRed)) << "the stage sits at x 50..150";
    EXPECT_TRUE(colorNear(wide, 30, 30, background));
    const QImage big = played.image(QSize(300, 450));
    EXPECT_TRUE(colorNear(big, 150, 50, background)) << "the bar above the stage";
    EXPECT_TRUE(colorNear(big, 95, 170, kRed)) << "three times as large, from y 75";
    EXPECT_TRUE(colorNear(big, 125, 170, background));
}
