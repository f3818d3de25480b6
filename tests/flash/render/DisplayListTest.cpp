// The display list: stage scaling, sprites, colour transforms, masks, buttons, text, morphs.
#include "RenderScene.h"

#include "flash/render/TextOutline.h"

#include <QPainter>
#include <cmath>
#include <functional>

namespace flash::test {
namespace {

TEST(Stage, ShowAllKeepsAspectAndFillsTheRestWithBackground)
{
    RenderScene scene(100, 100, Rgba{10, 20, 30, 255});
    scene.place(1, scene.define(1, filledRectangle(0, 0, 100, 100, solidFill(kRed))));
    const QImage wide = scene.render(QSize(200, 100));
    EXPECT_PIXEL(wide, 25, 50, (Rgba{10, 20, 30, 255}));
    EXPECT_PIXEL(wide, 55, 50, kRed);
    EXPECT_PIXEL(wide, 145, 50, kRed);
    EXPECT_PIXEL(wide, 175, 50, (Rgba{10, 20, 30, 255}));
    const QImage tall = scene.render(QSize(50, 300));
    EXPECT_PIXEL(tall, 25, 100, (Rgba{10, 20, 30, 255}));
    EXPECT_PIXEL(tall, 25, 150, kRed);
}

TEST(Stage, StageToViewMapsTwipsToCentredPixels)
{
    const Matrix m = Renderer::stageToView(Rect{0, 2000, 0, 1000}, QSize(400, 400));
    EXPECT_DOUBLE_EQ(m.a, 0.2);
    EXPECT_DOUBLE_EQ(m.d, 0.2);
    EXPECT_DOUBLE_EQ(m.map({0, 0}).y, 100);
    EXPECT_DOUBLE_EQ(m.map({2000, 1000}).x, 400);
    const Matrix empty = Renderer::stageToView(Rect{}, QSize(100, 100));
    EXPECT_TRUE(std::isfinite(empty.a));
}

TEST(Sprites, NestedMatricesAndColourTransformsMultiply)
{
    RenderScene scene;
    auto square = scene.define(1, filledRectangle(0, 0, 10, 10, solidFill(Rgba{200, 100, 50, 255})));
    DisplayObject& outer = scene.placeSprite(1, Matrix{2, 0, 0, 2, px(10), px(10)});
    outer.colorTransform.rMult = 0.5;
    DisplayObject& inner = scene.placeSprite(1, Matrix{1, 0, 0, 1, px(5), px(5)}, outer.clip->children.get());
    inner.colorTransform.gMult = 0.0;
    inner.colorTransform.gAdd = 40;
    scene.place(1, square, {}, inner.clip->children.get());
    const QImage image = scene.render();
    // The square spans 20..40 in both directions: (10 + 2 * 5) .. (10 + 2 * 15).
    EXPECT_PIXEL(image, 30, 30, (Rgba{100, 40, 50, 255}));
    EXPECT_PIXEL(image, 18, 30, kWhite);
    EXPECT_PIXEL(image, 41, 30, kWhite);
}

TEST(Sprites, InvisibleAndUnusableObjectsAreSkipped)
{
    RenderScene scene;
    auto square = scene.define(1, filledRectangle(0, 0, 100, 100, solidFill(kRed)));
    scene.place(1, square).visible = false;
    scene.place(2, square, Matrix{std::nan(""), 0, 0, 1, 0, 0});
    scene.place(3, square, Matrix{1e300, 0, 0, 1e300, 0, 0});
    scene.place(4, square, Matrix{0, 0, 0, 0, px(50), px(50)});
    scene.place(5, std::shared_ptr<const SpriteDef>()); // nothing behind it
    scene.place(6, std::make_shared<const SoundDef>());
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 50, 50, kWhite);
    EXPECT_PIXEL(image, 10, 10, kWhite);
}

TEST(Sprites, ScalingGridKeepsCornersAtTheirSize)
{
    RenderScene scene(200, 100);
    DisplayObject& sprite = scene.placeSprite(1, Matrix{3, 0, 0, 1, 0, 0}, nullptr, 9);
    scene.movie().scalingGrids[9] = Rect{int32_t(px(10)), int32_t(px(40)), int32_t(px(10)), int32_t(px(40))};
    DisplayList* children = sprite.clip->children.get();
    scene.place(1, scene.define(1, filledRectangle(0, 0, 50, 50, solidFill(kBlue))), {}, children);
    scene.place(2, scene.define(2, filledRectangle(0, 0, 10, 10, solidFill(kRed))), {}, children);
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 5, 5, kRed);
    EXPECT_PIXEL(image, 20, 5, kBlue);   // scaled plainly the corner would reach x = 30
    EXPECT_PIXEL(image, 145, 25, kBlue); // the whole still spans the scaled width
    EXPECT_PIXEL(image, 155, 25, kWhite);
}

TEST(Masks, ClipDepthMasksTheDepthsAboveIt)
{
    RenderScene scene;
    auto full = scene.define(1, filledRectangle(0, 0, 100, 100, solidFill(kRed)));
    auto maskShape = scene.define(2, filledRectangle(20, 20, 60, 60, solidFill(kBlue)));
    scene.place(1, maskShape).clipDepth = 3;
    scene.place(2, full);
    scene.place(4, scene.define(3, filledRectangle(70, 0, 100, 10, solidFill(kGreen))));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 40, 40, kRed);   // inside the mask
    EXPECT_PIXEL(image, 80, 80, kWhite); // outside it
    EXPECT_PIXEL(image, 10, 40, kWhite);
    EXPECT_PIXEL(image, 85, 5, kGreen);  // depth 4 is beyond the mask's reach
}

TEST(Masks, NestedMasksIntersect)
{
    RenderScene scene;
    auto full = scene.define(1, filledRectangle(0, 0, 100, 100, solidFill(kRed)));
    scene.place(1, scene.define(2, filledRectangle(0, 0, 60, 100, solidFill(kBlue)))).clipDepth = 10;
    DisplayObject& sprite = scene.placeSprite(2);
    DisplayList* children = sprite.clip->children.get();
    scene.place(1, scene.define(3, filledRectangle(40, 0, 100, 100, solidFill(kBlue))), {}, children).clipDepth = 2;
    scene.place(2, full, {}, children);
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 50, 50, kRed);
    EXPECT_PIXEL(image, 20, 50, kWhite);
    EXPECT_PIXEL(image, 80, 50, kWhite);
}

TEST(Masks, OverlappingRangesEndIndependently)
{
    RenderScene scene;
    scene.place(1, scene.define(1, filledRectangle(0, 0, 50, 100, solidFill(kBlue)))).clipDepth = 5;
    scene.place(3, scene.define(2, filledRectangle(0, 0, 100, 50, solidFill(kBlue)))).clipDepth = 8;
    scene.place(4, scene.define(3, filledRectangle(0, 0, 100, 100, solidFill(kRed))));
    scene.place(6, scene.define(4, filledRectangle(60, 0, 100, 100, solidFill(kGreen))));
    scene.place(9, scene.define(5, filledRectangle(90, 90, 100, 100, solidFill(kBlack))));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 25, 25, kRed);   // under both masks
    EXPECT_PIXEL(image, 25, 75, kWhite); // outside the second
    EXPECT_PIXEL(image, 80, 25, kGreen); // depth 6: the first mask has ended
    EXPECT_PIXEL(image, 80, 75, kWhite);
    EXPECT_PIXEL(image, 95, 95, kBlack); // depth 9: no mask left
}

TEST(Masks, SpriteMaskUsesTheUnionOfItsChildren)
{
    RenderScene scene;
    DisplayObject& mask = scene.placeSprite(1);
    mask.clipDepth = 2;
    scene.place(1, scene.define(2, filledRectangle(0, 0, 40, 40, solidFill(kBlue))), {}, mask.clip->children.get());
    scene.place(2, scene.define(3, filledRectangle(20, 20, 60, 60, solidFill(kBlue))), {}, mask.clip->children.get());
    scene.place(2, scene.define(1, filledRectangle(0, 0, 100, 100, solidFill(kRed))));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 10, 10, kRed);
    EXPECT_PIXEL(image, 30, 30, kRed);  // where the two overlap
    EXPECT_PIXEL(image, 50, 50, kRed);
    EXPECT_PIXEL(image, 50, 10, kWhite);
    EXPECT_PIXEL(image, 80, 80, kWhite);
}

TEST(Buttons, UpStateRecordsInDepthOrder)
{
    RenderScene scene;
    auto red = scene.define(1, filledRectangle(0, 0, 50, 50, solidFill(kRed)));
    auto blue = scene.define(2, filledRectangle(25, 25, 75, 75, solidFill(kBlue)));
    auto green = scene.define(3, filledRectangle(0, 60, 20, 80, solidFill(kGreen)));
    auto button = std::make_shared<ButtonDef>();
    button->records = {
        ButtonRecord{ButtonRecord::Up | ButtonRecord::Over, 2, 5, {}, {}, {}, {}},
        ButtonRecord{ButtonRecord::Up, 1, 1, {}, {}, {}, {}},
        ButtonRecord{ButtonRecord::Over, 3, 2, {}, {}, {}, {}},
        ButtonRecord{ButtonRecord::Up, 4, 3, Matrix{1, 0, 0, 1, px(10), 0}, {}, {}, {}}, // itself
    };
    scene.place(1, scene.define(4, button));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 10, 10, kRed);
    EXPECT_PIXEL(image, 40, 40, kBlue); // depth 5 above depth 1
    EXPECT_PIXEL(image, 10, 70, kWhite);
}

TEST(Buttons, SpriteRecordsShowTheirFirstFrame)
{
    RenderScene scene;
    scene.define(1, filledRectangle(0, 0, 20, 20, solidFill(kGreen)));
    auto sprite = std::make_shared<SpriteDef>();
    PlaceObject place;
    place.depth = 1;
    place.characterId = 1;
    place.matrix = Matrix{1, 0, 0, 1, px(30), px(30)};
    sprite->timeline.frames.resize(2);
    sprite->timeline.frames[0].tags.push_back(place);
    place.matrix = Matrix{1, 0, 0, 1, px(70), px(70)};
    place.isMove = true;
    sprite->timeline.frames[1].tags.push_back(place);
    scene.define(2, sprite);
    auto button = std::make_shared<ButtonDef>();
    button->records = {ButtonRecord{ButtonRecord::Up, 2, 1, {}, {}, {}, {}}};
    scene.place(1, scene.define(3, button));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 40, 40, kGreen);
    EXPECT_PIXEL(image, 80, 80, kWhite);
}

TEST(Buttons, ButtonsContainingThemselvesStop)
{
    RenderScene scene;
    scene.define(1, filledRectangle(0, 0, 10, 10, solidFill(kRed)));
    auto button = std::make_shared<ButtonDef>();
    button->records = {
        ButtonRecord{ButtonRecord::Up, 1, 1, {}, {}, {}, {}},
        ButtonRecord{ButtonRecord::Up, 2, 2, Matrix{1, 0, 0, 1, px(1), 0}, {}, {}, {}},
        ButtonRecord{ButtonRecord::Up, 2, 3, Matrix{1, 0, 0, 1, 0, px(1)}, {}, {}, {}},
    };
    scene.define(2, button);
    auto sprite = std::make_shared<SpriteDef>(); // a sprite holding the button twice
    PlaceObject place;
    place.characterId = 2;
    for (uint16_t depth : {1, 2}) {
        place.depth = depth;
        sprite->timeline.frames.resize(1);
        sprite->timeline.frames[0].tags.push_back(place);
    }
    scene.define(3, sprite);
    button->records.push_back(ButtonRecord{ButtonRecord::Up, 3, 4, {}, {}, {}, {}});
    scene.place(1, std::shared_ptr<const ButtonDef>(button));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 5, 5, kRed);
}

// A font whose glyph 0 is a square filling the EM box above the baseline.
std::shared_ptr<FontDef> squareFont()
{
    using K = PathCommand::Kind;
    auto font = std::make_shared<FontDef>();
    font->emSize = 1024;
    Glyph square;
    ShapePath path;
    path.fill1 = 1;
    path.commands = {{K::MoveTo, {0, -1024}, {}}, {K::LineTo, {1024, -1024}, {}}, {K::LineTo, {1024, 0}, {}},
                     {K::LineTo, {0, 0}, {}}, {K::LineTo, {0, -1024}, {}}};
    square.paths = {path};
    font->glyphs = {square, Glyph{}};
    return font;
}

TEST(Text, GlyphsScaledToHeightAndAdvanced)
{
    RenderScene scene;
    scene.define(7, squareFont());
    auto text = std::make_shared<TextDef>();
    text->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
    text->matrix = Matrix{1, 0, 0, 1, 0, px(10)};
    TextRecord record;
    record.fontId = 7;
    record.color = kBlue;
    record.x = px(10);
    record.y = px(40);
    record.height = uint16_t(px(20));
    record.glyphs = {{0, int32_t(px(30))}, {1, int32_t(px(10))}, {0, 0}, {99, 0}};
    text->records = {record};
    scene.place(1, scene.define(8, text));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 20, 40, kBlue);   // first glyph: x 10..30, y 30..50
    EXPECT_PIXEL(image, 35, 40, kWhite);  // gap of the advance
    EXPECT_PIXEL(image, 60, 40, kBlue);   // third glyph at 50..70 (the second has no outline)
    EXPECT_PIXEL(image, 20, 25, kWhite);
}

// A long line's glyphs are also kept a few to a path; in an opaque colour the
// pieces paint exactly what the whole line does.
TEST(Text, PiecesOfALinePaintWhatTheLineDoes)
{
    RenderScene scene;
    scene.define(7, squareFont());
    TextDef text;
    TextRecord record;
    record.fontId = 7;
    record.x = 13;
    record.y = px(30);
    record.height = uint16_t(px(7.3));
    for (int i = 0; i < 20; ++i)
        record.glyphs.push_back({0, int32_t(px(9.7))});
    text.records = {record};
    const TextOutline outline = buildTextOutline(text, scene.movie());
    ASSERT_EQ(outline.runs.size(), 1u);
    const TextOutline::Run& run = outline.runs[0];
    EXPECT_EQ(run.pieces.size(), 3u);
    const auto paint = [](const std::function<void(QPainter&)>& fill) {
        QImage image(220, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(0.05, 0.05);
        fill(painter);
        return image;
    };
    const QImage whole = paint([&](QPainter& p) { p.fillPath(run.path, Qt::black); });
    const QImage pieces = paint([&](QPainter& p) {
        for (const QPainterPath& piece : run.pieces)
            p.fillPath(piece, Qt::black);
    });
    EXPECT_EQ(whole, pieces);
}

TEST(Text, MissingFontDrawsNothing)
{
    RenderScene scene;
    auto text = std::make_shared<TextDef>();
    TextRecord record;
    record.fontId = 99;
    record.height = 400;
    record.glyphs = {{0, 100}};
    text->records = {record};
    scene.place(1, scene.define(8, text));
    EXPECT_PIXEL(scene.render(), 5, 5, kWhite);
}

TEST(Morph, DrawnAtThePlacementRatio)
{
    RenderScene scene;
    auto morph = std::make_shared<MorphShapeDef>();
    morph->start = *filledRectangle(0, 0, 20, 20, solidFill(kRed));
    morph->end = *filledRectangle(60, 60, 100, 100, solidFill(kBlue));
    auto def = scene.define(1, morph);
    DisplayObject& object = scene.place(1, def);
    object.ratio = 0;
    const QImage start = scene.render();
    EXPECT_PIXEL(start, 10, 10, kRed);
    EXPECT_PIXEL(start, 80, 80, kWhite);
    object.ratio = 32768; // halfway: 30..60, colour halfway
    const QImage half = scene.render();
    EXPECT_PIXEL(half, 10, 10, kWhite);
    EXPECT_PIXEL_NEAR(half, 45, 45, (Rgba{127, 0, 128, 255}), 3);
    object.ratio = 65535;
    const QImage end = scene.render();
    EXPECT_PIXEL(end, 80, 80, kBlue);
    EXPECT_PIXEL(end, 45, 45, kWhite);
}

TEST(Renderer, CachesHoldConvertedShapes)
{
    RenderScene scene;
    scene.place(1, scene.define(1, filledRectangle(0, 0, 10, 10, solidFill(kRed))));
    Renderer renderer(std::shared_ptr<const Movie>(&scene.movie(), [](const Movie*) {}));
    (void)renderer.renderToImage(scene.root(), QSize(50, 50));
    (void)renderer.renderToImage(scene.root(), QSize(50, 50));
    const CacheStatistics stats = renderer.cacheStatistics();
    EXPECT_EQ(stats.shapeOutlines, 1u);
    EXPECT_GE(stats.hits, 1u);
    renderer.clearCaches();
    EXPECT_EQ(renderer.cacheStatistics().shapeOutlines, 0u);
}

} // namespace
} // namespace flash::test
