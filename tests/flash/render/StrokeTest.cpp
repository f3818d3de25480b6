// Lines: hairlines, widths under scaling, caps and joins, filled strokes.
#include "RenderScene.h"

namespace flash::test {
namespace {

using K = PathCommand::Kind;

// A horizontal line from (x0, y) to (x1, y) in pixels.
std::shared_ptr<ShapeDef> horizontalLine(double x0, double x1, double y, LineStyle line)
{
    auto shape = std::make_shared<ShapeDef>();
    const int32_t margin = int32_t(px(20)) + line.width;
    shape->bounds = {int32_t(px(x0)) - margin, int32_t(px(x1)) + margin, int32_t(px(y)) - margin,
                     int32_t(px(y)) + margin};
    shape->lines = {std::move(line)};
    ShapePath path;
    path.line = 1;
    path.commands = {{K::MoveTo, {px(x0), px(y)}, {}}, {K::LineTo, {px(x1), px(y)}, {}}};
    shape->paths = {path};
    return shape;
}

TEST(Stroke, HairlineShowsAsOnePixelAtAnyScale)
{
    RenderScene scene;
    scene.place(1, scene.define(1, horizontalLine(10, 90, 30.5, solidLine(0, kBlack))));
    // Shrunk ten times, a one-pixel line would all but vanish without the minimum width.
    scene.place(2, scene.define(2, horizontalLine(100, 900, 705, solidLine(20, kBlack))),
                Matrix{0.1, 0, 0, 0.1, 0, 0});
    const QImage image = scene.render();
    EXPECT_LT(pixelAt(image, 50, 30).r, 60);
    EXPECT_GT(pixelAt(image, 50, 28).r, 200);
    EXPECT_LT(pixelAt(image, 50, 70).r, 60);
    EXPECT_GT(pixelAt(image, 50, 68).r, 200);
}

TEST(Stroke, WidthIsInTwipsAndScalesWithTheObject)
{
    RenderScene scene;
    scene.place(1, scene.define(1, horizontalLine(10, 90, 20, solidLine(uint16_t(px(10)), kRed))));
    scene.place(2, scene.define(2, horizontalLine(10, 90, 30, solidLine(uint16_t(px(10)), kBlue))),
                Matrix{1, 0, 0, 2, 0, 0}); // twice as thick, at y = 60
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 50, 17, kRed);
    EXPECT_PIXEL(image, 50, 27, kWhite);
    EXPECT_PIXEL(image, 50, 52, kBlue);
    EXPECT_PIXEL(image, 50, 68, kBlue);
    EXPECT_PIXEL(image, 50, 73, kWhite);
}

TEST(Stroke, NoScaleLinesKeepTheirWidth)
{
    LineStyle line = solidLine(uint16_t(px(4)), kBlue);
    line.noHScale = line.noVScale = true;
    RenderScene scene;
    scene.place(1, scene.define(1, horizontalLine(10, 90, 20, line)), Matrix{1, 0, 0, 3, 0, 0});
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 50, 60, kBlue);
    EXPECT_PIXEL(image, 50, 54, kWhite); // scaled it would reach from 54 to 66
}

TEST(Stroke, CapsEndTheLineDifferently)
{
    auto render = [](CapStyle cap) {
        LineStyle line = solidLine(uint16_t(px(20)), kBlack);
        line.startCap = line.endCap = cap;
        RenderScene scene;
        scene.place(1, scene.define(1, horizontalLine(30, 70, 50, line)));
        return scene.render();
    };
    const QImage round = render(CapStyle::Round);
    const QImage none = render(CapStyle::None);
    const QImage square = render(CapStyle::Square);
    EXPECT_PIXEL(round, 75, 50, kBlack);
    EXPECT_PIXEL(round, 78, 58, kWhite);
    EXPECT_PIXEL(none, 65, 50, kBlack);
    EXPECT_PIXEL(none, 73, 50, kWhite);
    EXPECT_PIXEL(square, 78, 58, kBlack);
}

TEST(Stroke, MiterJoinReachesTheCornerBevelCutsIt)
{
    auto render = [](JoinStyle join) {
        LineStyle line = solidLine(uint16_t(px(16)), kBlack);
        line.join = join;
        auto shape = std::make_shared<ShapeDef>();
        shape->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
        shape->lines = {line};
        shape->paths = {rectanglePath(30, 30, 70, 70, 0, 0, 1)};
        RenderScene scene;
        scene.place(1, scene.define(1, shape));
        return scene.render();
    };
    EXPECT_PIXEL(render(JoinStyle::Miter), 23, 23, kBlack);
    EXPECT_PIXEL(render(JoinStyle::Bevel), 23, 23, kWhite);
}

TEST(Stroke, GradientFilledLine)
{
    LineStyle line = solidLine(uint16_t(px(10)), kBlack);
    line.hasFill = true;
    line.fill.kind = FillKind::LinearGradient;
    line.fill.gradient.stops = {{0, kRed}, {255, kBlue}};
    line.fill.matrix = Matrix{px(100) / 32768.0, 0, 0, 1, px(50), 0};
    RenderScene scene;
    scene.place(1, scene.define(1, horizontalLine(0, 100, 50, line)));
    const QImage image = scene.render();
    EXPECT_PIXEL_NEAR(image, 3, 50, kRed, 12);
    EXPECT_PIXEL_NEAR(image, 97, 50, kBlue, 12);
}

} // namespace
} // namespace flash::test
