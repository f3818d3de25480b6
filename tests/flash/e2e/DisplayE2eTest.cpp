// Placement end to end: matrices, colour transforms, masks, morphs at their
// ratio, blend modes and buttons in their up state.
#include "E2eSupport.h"

using namespace e2e;

TEST(DisplayE2e, MatricesMoveScaleAndRotate)
{
    SwfWriter w = newMovie();
    const uint16_t unit = w.defineShape(square(0, 0, 10, Color::rgb(0xff0000)));
    w.place(1, unit, Matrix::translation(5, 5));
    w.place(2, unit, Matrix::scaling(3, 2).then(Matrix::translation(40, 5)));
    // Turned 45 degrees about its corner, which sits at (75, 60): a diamond below it.
    w.place(3, unit, Matrix::scaling(2).then(Matrix::rotation(45)).then(Matrix::translation(75, 60)));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 10, 10, kRed));
    EXPECT_TRUE(colorNear(img, 17, 10, kWhite));
    EXPECT_TRUE(colorNear(img, 66, 22, kRed)) << "scaled to 30 x 20";
    EXPECT_TRUE(colorNear(img, 72, 22, kWhite));
    EXPECT_TRUE(colorNear(img, 75, 72, kRed)) << "the diamond's middle";
    EXPECT_TRUE(colorNear(img, 85, 64, kWhite)) << "where the unturned square would be";
}

TEST(DisplayE2e, ColourTransformsMultiplyAndAdd)
{
    SwfWriter w = newMovie();
    const uint16_t grey = w.defineShape(square(0, 0, 20, Color::rgb(0x808080)));
    auto put = [&](uint16_t depth, double x, ColorTransform cx, PlaceVersion version = PlaceVersion::Auto) {
        w.place(Placement{.depth = depth, .characterId = grey, .matrix = Matrix::translation(x, 10),
                          .colorTransform = cx, .version = version});
    };
    put(1, 0, ColorTransform::multiply(2, 1, 0));              // (255, 128, 0) after clamping
    put(2, 25, ColorTransform::add(-128, 100, 0));             // (0, 228, 128)
    put(3, 50, ColorTransform::alpha(0.5));                    // half over white: 192
    put(4, 75, ColorTransform::add(100, 0, 0), PlaceVersion::V1); // PlaceObject's transform has no alpha
    w.place(Placement{.depth = 5, .characterId = grey, .matrix = Matrix::translation(0, 60),
                      .colorTransform = ColorTransform::add(0, 0, 0, -128)}); // alpha 255 - 128 = 127
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 10, 70, QColor(191, 191, 191), 3));
    EXPECT_TRUE(colorNear(img, 10, 20, QColor(255, 128, 0), 3));
    EXPECT_TRUE(colorNear(img, 35, 20, QColor(0, 228, 128), 3));
    EXPECT_TRUE(colorNear(img, 60, 20, QColor(191, 191, 191), 3));
    EXPECT_TRUE(colorNear(img, 85, 20, QColor(228, 128, 128), 3));
}

TEST(DisplayE2e, ColourTransformsTintGradientsAndBitmaps)
{
    SwfWriter w = newMovie();
    Gradient g{{{0, Color::rgb(0xffffff)}, {255, Color::rgb(0xffffff)}}};
    const uint16_t gradient = w.defineShape(ShapeBuilder().fill(FillStyle::linear(g, 0, 0, 40, 0)).rect(0, 0, 40, 40));
    QImage white(2, 2, QImage::Format_ARGB32);
    white.fill(qRgb(255, 255, 255));
    const uint16_t bitmap = w.defineBitsLossless(white);
    const uint16_t picture = w.defineShape(ShapeBuilder().fill(FillStyle::bitmap(bitmap, FillType::ClippedBitmap, 0, 0, 20)).rect(0, 0, 40, 40));
    w.place(Placement{.depth = 1, .characterId = gradient, .matrix = Matrix::translation(5, 5),
                      .colorTransform = ColorTransform::multiply(0, 1, 0)});
    w.place(Placement{.depth = 2, .characterId = picture, .matrix = Matrix::translation(55, 5),
                      .colorTransform = ColorTransform::multiply(1, 0, 0)});
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 25, 25, kGreen, 4));
    EXPECT_TRUE(colorNear(img, 75, 25, kRed, 4));
}

TEST(DisplayE2e, ClipDepthMasksTheDepthsItCovers)
{
    SwfWriter w = newMovie();
    const uint16_t mask = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x000000)).circle(50, 50, 25));
    const uint16_t red = w.defineShape(square(0, 0, 100, Color::rgb(0xff0000)));
    const uint16_t blue = w.defineShape(square(0, 60, 100, Color::rgb(0x0000ff)).rect(0, 0, 10, 10));
    w.place(Placement{.depth = 1, .characterId = mask, .matrix = Matrix{}, .clipDepth = 2});
    w.place(2, red);
    w.place(3, blue); // above the masked depths: drawn whole
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 50, 40, kRed)) << "inside the mask";
    EXPECT_TRUE(colorNear(img, 10, 30, kWhite)) << "outside the mask";
    EXPECT_TRUE(colorNear(img, 90, 40, kWhite));
    EXPECT_TRUE(colorNear(img, 90, 90, kBlue)) << "depth 3 lies beyond the mask's reach";
    EXPECT_TRUE(colorNear(img, 5, 5, kBlue));
}

TEST(DisplayE2e, MasksUseTheFilledAreaWhateverItsColourOrStroke)
{
    SwfWriter w = newMovie();
    // A fully transparent fill still masks; a stroke-only shape reveals nothing.
    const uint16_t clearFill = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x000000, 0)).rect(0, 0, 40, 100), 3);
    const uint16_t strokeOnly = w.defineShape(ShapeBuilder().lineSolid(20, Color::rgb(0x000000)).rect(60, 10, 30, 80));
    const uint16_t red = w.defineShape(square(0, 0, 100, Color::rgb(0xff0000)));
    w.place(Placement{.depth = 1, .characterId = clearFill, .matrix = Matrix{}, .colorTransform = ColorTransform::alpha(0), .clipDepth = 2});
    w.place(2, red);
    w.place(Placement{.depth = 3, .characterId = strokeOnly, .matrix = Matrix{}, .clipDepth = 4});
    w.place(4, red);
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 20, 50, kRed));
    EXPECT_TRUE(colorNear(img, 50, 50, kWhite));
    EXPECT_TRUE(colorNear(img, 60, 50, kWhite)) << "on the stroke of the second mask";
    EXPECT_TRUE(colorNear(img, 75, 50, kWhite));
}

TEST(DisplayE2e, NestedMasksIntersect)
{
    SwfWriter w = newMovie();
    const uint16_t left = w.defineShape(square(0, 0, 60, Color{}).rect(0, 60, 60, 40));
    const uint16_t top = w.defineShape(ShapeBuilder().fillSolid(Color{}).rect(30, 0, 70, 50));
    const uint16_t red = w.defineShape(square(0, 0, 100, Color::rgb(0xff0000)));
    w.place(Placement{.depth = 1, .characterId = left, .matrix = Matrix{}, .clipDepth = 10});
    w.place(Placement{.depth = 2, .characterId = top, .matrix = Matrix{}, .clipDepth = 10});
    w.place(5, red);
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 45, 25, kRed)) << "inside both masks";
    EXPECT_TRUE(colorNear(img, 15, 25, kWhite)) << "inside the outer mask only";
    EXPECT_TRUE(colorNear(img, 80, 25, kWhite)) << "inside the inner mask only";
}

TEST(DisplayE2e, MorphShapesFollowTheirRatio)
{
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        SwfWriter w = newMovie();
        // A red square at the left morphs into a blue one at the right, twice as tall.
        const uint16_t morph = w.defineMorphShape(square(0, 0, 20, Color::rgb(0xff0000)),
                                                  ShapeBuilder().fillSolid(Color::rgb(0x0000ff)).rect(80, 0, 20, 40), version);
        w.place(Placement{.depth = 1, .characterId = morph, .matrix = Matrix::translation(0, 10), .ratio = 0});
        w.showFrame();
        w.place(Placement{.depth = 1, .ratio = 32768, .move = true});
        w.showFrame();
        w.place(Placement{.depth = 1, .ratio = 65535, .move = true});
        PlayedMovie played([&] { w.showFrame(); return w.finish(); }());
        ASSERT_TRUE(played.loaded());
        QImage img = played.image();
        EXPECT_TRUE(colorNear(img, 10, 20, kRed));
        EXPECT_TRUE(colorNear(img, 10, 35, kWhite));
        img = played.advance().image();
        EXPECT_TRUE(colorNear(img, 50, 20, QColor(128, 0, 127), 6)) << "half-way along and half-way in colour";
        EXPECT_TRUE(colorNear(img, 50, 37, QColor(128, 0, 127), 6)) << "and one and a half times as tall";
        EXPECT_TRUE(colorNear(img, 10, 20, kWhite));
        img = played.advance().image();
        EXPECT_TRUE(colorNear(img, 90, 45, kBlue));
        EXPECT_TRUE(colorNear(img, 50, 20, kWhite));
    }
}

TEST(DisplayE2e, MorphPairsStraightEdgesWithCurves)
{
    // A square whose right side bows out by 20 px at the end; half-way it bows by 10.
    ShapeBuilder start, end;
    start.fillSolid(Color::rgb(0x0000ff)).moveTo(20, 20).lineTo(60, 20).lineTo(60, 80).lineTo(20, 80).close();
    end.fillSolid(Color::rgb(0x0000ff)).moveTo(20, 20).lineTo(60, 20).curveTo(100, 50, 60, 80).lineTo(20, 80).close();
    SwfWriter w = newMovie();
    const uint16_t morph = w.defineMorphShape(start, end);
    w.place(Placement{.depth = 1, .characterId = morph, .matrix = Matrix{}, .ratio = 0});
    w.showFrame();
    w.place(Placement{.depth = 1, .ratio = 32768, .move = true});
    w.showFrame();
    w.place(Placement{.depth = 1, .ratio = 65535, .move = true});
    w.showFrame();
    PlayedMovie played(w.finish());
    ASSERT_TRUE(played.loaded());
    QImage img = played.image();
    EXPECT_TRUE(colorNear(img, 58, 50, kBlue));
    EXPECT_TRUE(colorNear(img, 63, 50, kWhite));
    img = played.advance().image();
    EXPECT_TRUE(colorNear(img, 67, 50, kBlue)) << "the bulge peaks at x = 70 half-way";
    EXPECT_TRUE(colorNear(img, 73, 50, kWhite));
    img = played.advance().image();
    EXPECT_TRUE(colorNear(img, 77, 50, kBlue)) << "and at x = 80 at the end";
    EXPECT_TRUE(colorNear(img, 83, 50, kWhite));
}

TEST(DisplayE2e, MorphGradientsAndLineWidthsInterpolate)
{
    SwfWriter w = newMovie();
    Gradient dark{{{0, Color::rgb(0x000000)}, {255, Color::rgb(0x000000)}}};
    Gradient light{{{0, Color::rgb(0xffffff)}, {255, Color::rgb(0xffffff)}}};
    ShapeBuilder start, end;
    start.fill(FillStyle::linear(dark, 0, 0, 50, 0)).lineSolid(2, Color::rgb(0xff0000)).rect(10, 10, 40, 40);
    end.fill(FillStyle::linear(light, 0, 0, 50, 0)).lineSolid(18, Color::rgb(0xff0000)).rect(10, 10, 40, 40);
    const uint16_t morph = w.defineMorphShape(start, end);
    w.place(Placement{.depth = 1, .characterId = morph, .matrix = Matrix{}, .ratio = 32768});
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 30, 30, QColor(128, 128, 128), 6));
    EXPECT_TRUE(colorNear(img, 30, 6, kRed, 6)) << "a 10 px line reaches 5 px out";
    EXPECT_TRUE(colorNear(img, 30, 3, kWhite, 6));
}

TEST(DisplayE2e, BlendModesCombineWithWhatIsBelow)
{
    SwfWriter w = newMovie(8);
    const uint16_t yellow = w.defineShape(square(0, 0, 100, Color::rgb(0xffff00)));
    const uint16_t cyan = w.defineShape(square(0, 0, 30, Color::rgb(0x00ffff)));
    w.place(1, yellow);
    auto put = [&](uint16_t depth, double x, BlendMode mode) {
        w.place(Placement{.depth = depth, .characterId = cyan, .matrix = Matrix::translation(x, 10), .blendMode = mode});
    };
    put(2, 0, BlendMode::Normal);
    put(3, 35, BlendMode::Multiply);   // (0, 255, 0)
    put(4, 70, BlendMode::Difference); // (255, 0, 255)
    w.place(Placement{.depth = 5, .characterId = cyan, .matrix = Matrix::translation(0, 60), .blendMode = BlendMode::Screen});
    w.place(Placement{.depth = 6, .characterId = cyan, .matrix = Matrix::translation(35, 60), .blendMode = BlendMode::Darken});
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 15, 25, QColor(0, 255, 255)));
    EXPECT_TRUE(colorNear(img, 50, 25, kGreen));
    EXPECT_TRUE(colorNear(img, 85, 25, QColor(255, 0, 255)));
    EXPECT_TRUE(colorNear(img, 15, 75, kWhite));
    EXPECT_TRUE(colorNear(img, 50, 75, kGreen));
}

TEST(DisplayE2e, ButtonsShowTheirUpState)
{
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        SwfWriter w = newMovie();
        const uint16_t up = w.defineShape(square(0, 0, 40, Color::rgb(0xff0000)));
        const uint16_t over = w.defineShape(square(0, 0, 40, Color::rgb(0x0000ff)));
        const uint16_t hit = w.defineShape(square(0, 0, 90, Color::rgb(0x00ff00)));
        ButtonBuilder button;
        button.part({.states = 2 | 4, .characterId = over, .depth = 1})
            .part({.states = 8, .characterId = hit, .depth = 2})
            .part({.states = 1, .characterId = up, .depth = 3, .matrix = Matrix::translation(10, 0)})
            .onRelease(Actions().play());
        w.place(1, w.defineButton(button, version), Matrix::translation(20, 20));
        if (version == 2) { // a part's own colour transform: the red square turns purple
            ButtonBuilder tinted;
            tinted.part({.states = 1, .characterId = up, .depth = 1, .colorTransform = ColorTransform::add(0, 0, 255)});
            w.place(2, w.defineButton(tinted, 2), Matrix::translation(20, 60));
        }
        const QImage img = renderFirstFrame(w);
        EXPECT_TRUE(colorNear(img, 50, 40, kRed));
        if (version == 2) {
            EXPECT_TRUE(colorNear(img, 40, 80, QColor(255, 0, 255)));
        }
        EXPECT_TRUE(colorNear(img, 25, 40, kWhite)) << "only the up state shows";
        EXPECT_TRUE(colorNear(img, 90, 90, kWhite)) << "the hit area is never drawn";
    }
}

TEST(DisplayE2e, SpritesInAButtonsUpStatePlay)
{
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 40, Color::rgb(0xff0000)));
    const uint16_t blue = w.defineShape(square(0, 0, 40, Color::rgb(0x0000ff)));
    Timeline blink;
    blink.place(1, red).showFrame();
    blink.place(Placement{.depth = 1, .characterId = blue, .move = true}).showFrame();
    ButtonBuilder button;
    button.part({.states = 1 | 8, .characterId = w.defineSprite(blink), .depth = 1});
    w.place(1, w.defineButton(button), Matrix::translation(30, 30));
    w.showFrame();
    PlayedMovie movie(w.finish());
    EXPECT_TRUE(colorNear(movie.image(), 50, 50, kRed));
    EXPECT_TRUE(colorNear(movie.advance().image(), 50, 50, kBlue));
    EXPECT_TRUE(colorNear(movie.advance().image(), 50, 50, kRed));
}
