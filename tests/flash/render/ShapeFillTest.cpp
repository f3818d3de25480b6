// Shapes to filled areas: sides of edges, fill rules, style groups, broken contours.
#include "RenderScene.h"

namespace flash::test {
namespace {

using K = PathCommand::Kind;

TEST(ShapeFill, SolidSquareCoversItsInsideOnly)
{
    RenderScene scene;
    scene.place(1, scene.define(1, filledRectangle(20, 20, 60, 60, solidFill(kRed))));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 40, 40, kRed);
    EXPECT_PIXEL(image, 21, 21, kRed);
    EXPECT_PIXEL(image, 10, 10, kWhite);
    EXPECT_PIXEL(image, 70, 40, kWhite);
    EXPECT_PIXEL(image, 40, 61, kWhite);
}

TEST(ShapeFill, EdgeCarriesLeftAndRightFills)
{
    // Two squares sharing the edge x = 50, traced downwards: red on its right
    // (the west, fill1) and blue on its left (the east, fill0).
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
    shape->fills = {solidFill(kRed), solidFill(kBlue)};
    ShapePath shared;
    shared.fill0 = 2;
    shared.fill1 = 1;
    shared.commands = {{K::MoveTo, {px(50), px(20)}, {}}, {K::LineTo, {px(50), px(80)}, {}}};
    ShapePath left; // counter-clockwise from the shared edge's end, red on its left
    left.fill0 = 1;
    left.commands = {{K::MoveTo, {px(50), px(80)}, {}}, {K::LineTo, {px(20), px(80)}, {}},
                     {K::LineTo, {px(20), px(20)}, {}}, {K::LineTo, {px(50), px(20)}, {}}};
    ShapePath right; // clockwise, blue on its right
    right.fill1 = 2;
    right.commands = {{K::MoveTo, {px(50), px(20)}, {}}, {K::LineTo, {px(80), px(20)}, {}},
                      {K::LineTo, {px(80), px(80)}, {}}, {K::LineTo, {px(50), px(80)}, {}}};
    shape->paths = {left, shared, right};
    RenderScene scene;
    scene.place(1, scene.define(1, shape));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 35, 50, kRed);
    EXPECT_PIXEL(image, 65, 50, kBlue);
    EXPECT_PIXEL(image, 10, 50, kWhite);
    EXPECT_PIXEL(image, 90, 50, kWhite);
}

TEST(ShapeFill, EdgeWithTheSameFillOnBothSidesLeavesNoGap)
{
    // A square split by a vertical edge that has fill 1 on both sides.
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
    shape->fills = {solidFill(kBlue)};
    ShapePath outline = rectanglePath(10, 10, 90, 90, 0, 1);
    ShapePath inner;
    inner.fill0 = inner.fill1 = 1;
    inner.commands = {{K::MoveTo, {px(50), px(10)}, {}}, {K::LineTo, {px(50), px(90)}, {}}};
    shape->paths = {outline, inner};
    RenderScene scene;
    scene.place(1, scene.define(1, shape));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 30, 50, kBlue);
    EXPECT_PIXEL(image, 70, 50, kBlue);
}

TEST(ShapeFill, NoBackgroundSeamBetweenNeighbouringFills)
{
    // Two red fills meeting half-way through pixel column 50.
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
    shape->fills = {solidFill(kRed), solidFill(Rgba{255, 0, 0, 255})};
    ShapePath left; // the shared edge has a path of its own
    left.fill1 = 1;
    left.commands = {{K::MoveTo, {px(50.5), px(90)}, {}}, {K::LineTo, {px(10), px(90)}, {}},
                     {K::LineTo, {px(10), px(10)}, {}}, {K::LineTo, {px(50.5), px(10)}, {}}};
    ShapePath shared;
    shared.fill0 = 2;
    shared.fill1 = 1;
    shared.commands = {{K::MoveTo, {px(50.5), px(10)}, {}}, {K::LineTo, {px(50.5), px(90)}, {}}};
    ShapePath right;
    right.fill1 = 2;
    right.commands = {{K::MoveTo, {px(50.5), px(10)}, {}}, {K::LineTo, {px(90.5), px(10)}, {}},
                      {K::LineTo, {px(90.5), px(90)}, {}}, {K::LineTo, {px(50.5), px(90)}, {}}};
    shape->paths = {left, shared, right};
    RenderScene scene;
    scene.place(1, scene.define(1, shape));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 50, 50, kRed);
    EXPECT_PIXEL(image, 51, 50, kRed);
    EXPECT_PIXEL(image, 49, 50, kRed);
    EXPECT_PIXEL_NEAR(image, 90, 50, (Rgba{255, 128, 128, 255}), 4); // the outer edges stay soft
}

// One path around two overlapping squares, both traced clockwise.
std::shared_ptr<ShapeDef> overlappingSquares(bool nonZero)
{
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
    shape->nonZeroWinding = nonZero;
    shape->fills = {solidFill(kGreen)};
    ShapePath a = rectanglePath(10, 10, 60, 60, 0, 1);
    ShapePath b = rectanglePath(40, 40, 90, 90, 0, 1);
    a.commands.insert(a.commands.end(), b.commands.begin(), b.commands.end());
    shape->paths = {a};
    return shape;
}

TEST(ShapeFill, EvenOddLeavesOverlapEmptyNonZeroFillsIt)
{
    RenderScene evenOdd;
    evenOdd.place(1, evenOdd.define(1, overlappingSquares(false)));
    const QImage a = evenOdd.render();
    EXPECT_PIXEL(a, 20, 20, kGreen);
    EXPECT_PIXEL(a, 50, 50, kWhite);
    EXPECT_PIXEL(a, 80, 80, kGreen);

    RenderScene nonZero;
    nonZero.place(1, nonZero.define(1, overlappingSquares(true)));
    const QImage b = nonZero.render();
    EXPECT_PIXEL(b, 20, 20, kGreen);
    EXPECT_PIXEL(b, 50, 50, kGreen);
    EXPECT_PIXEL(b, 80, 80, kGreen);
}

TEST(ShapeFill, NonZeroKeepsHoleTracedTheOtherWay)
{
    // The hole is traced clockwise with its fill outside (fill0): a hole under both rules.
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
    shape->nonZeroWinding = true;
    shape->fills = {solidFill(kBlue)};
    shape->paths = {rectanglePath(10, 10, 90, 90, 0, 1), rectanglePath(30, 30, 70, 70, 1, 0)};
    RenderScene scene;
    scene.place(1, scene.define(1, shape));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 20, 50, kBlue);
    EXPECT_PIXEL(image, 50, 50, kWhite);
}

TEST(ShapeFill, EdgesInAnyOrderAndGapsStillFill)
{
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
    shape->fills = {solidFill(kRed), solidFill(kBlue)};
    // The square's four sides as separate paths, shuffled.
    const Point corners[] = {{px(10), px(10)}, {px(40), px(10)}, {px(40), px(40)}, {px(10), px(40)}};
    for (int side : {2, 0, 3, 1}) {
        ShapePath edge;
        edge.fill1 = 1;
        edge.commands = {{K::MoveTo, corners[side], {}}, {K::LineTo, corners[(side + 1) % 4], {}}};
        shape->paths.push_back(edge);
    }
    // A triangle whose closing edge is missing.
    ShapePath open;
    open.fill1 = 2;
    open.commands = {{K::MoveTo, {px(50), px(90)}, {}}, {K::LineTo, {px(70), px(50)}, {}},
                     {K::LineTo, {px(90), px(90)}, {}}};
    shape->paths.push_back(open);
    RenderScene scene;
    scene.place(1, scene.define(1, shape));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 25, 25, kRed);
    EXPECT_PIXEL(image, 70, 80, kBlue);
    EXPECT_PIXEL(image, 55, 60, kWhite);
}

TEST(ShapeFill, LaterStyleArrayDrawsOverEarlierLines)
{
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
    shape->fills = {solidFill(kRed), solidFill(kBlue)};
    shape->lines = {solidLine(uint16_t(px(10)), kBlack)};
    shape->paths.push_back(rectanglePath(10, 10, 50, 50, 0, 1, 1));
    ShapePath over = rectanglePath(40, 20, 80, 60, 0, 2);
    over.newStyles = true;
    shape->paths.push_back(over);
    RenderScene scene;
    scene.place(1, scene.define(1, shape));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 30, 30, kRed);
    EXPECT_PIXEL(image, 30, 10, kBlack);   // the line on the first square's top
    EXPECT_PIXEL(image, 50, 40, kBlue);    // its right side lies under the second style array
    EXPECT_PIXEL(image, 70, 55, kBlue);
}

TEST(ShapeFill, CurvesBulgeThroughTheirControlPoint)
{
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {0, int32_t(px(100)), 0, int32_t(px(100))};
    shape->fills = {solidFill(kRed)};
    ShapePath dome;
    dome.fill1 = 1;
    dome.commands = {{K::MoveTo, {px(10), px(80)}, {}},
                     {K::CurveTo, {px(90), px(80)}, {px(50), px(0)}},
                     {K::LineTo, {px(10), px(80)}, {}}};
    shape->paths = {dome};
    RenderScene scene;
    scene.place(1, scene.define(1, shape));
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 50, 45, kRed);   // the curve's apex is at y = 40
    EXPECT_PIXEL(image, 50, 35, kWhite);
    EXPECT_PIXEL(image, 15, 50, kWhite); // a straight edge would have covered this
}

TEST(ShapeFill, HostileCoordinatesAndIndicesDoNotCrash)
{
    auto shape = std::make_shared<ShapeDef>();
    shape->fills = {solidFill(kRed)};
    shape->lines = {solidLine(20, kBlack)};
    ShapePath wild;
    wild.fill0 = 7; // no such style
    wild.fill1 = 1;
    wild.line = 9;
    wild.commands = {{K::MoveTo, {1e300, -1e300}, {}}, {K::LineTo, {std::nan(""), 5}, {}},
                     {K::CurveTo, {3e9, 2}, {-4e12, 1}}};
    ShapePath empty;
    empty.fill1 = 1;
    shape->paths = {wild, empty, ShapePath{}};
    RenderScene scene;
    scene.place(1, scene.define(1, shape));
    scene.place(2, scene.define(2, std::make_shared<ShapeDef>()));
    const QImage image = scene.render();
    EXPECT_FALSE(image.isNull());
}

TEST(ShapeFill, EnormousScalesStayBounded)
{
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {-int32_t(px(50)), int32_t(px(50)), -int32_t(px(50)), int32_t(px(50))};
    shape->fills = {solidFill(kRed)};
    shape->lines = {solidLine(uint16_t(px(2)), kBlack)};
    ShapePath round;
    round.fill1 = 1;
    round.line = 1;
    round.commands = {{K::MoveTo, {px(-50), 0}, {}}, {K::CurveTo, {px(50), 0}, {0, px(-50)}},
                      {K::CurveTo, {px(-50), 0}, {0, px(50)}}};
    shape->paths = {round};
    RenderScene scene;
    auto def = scene.define(1, shape);
    scene.place(1, def, Matrix{1e8, 0, 0, 1e8, px(50), px(50)});
    scene.place(2, def, Matrix{1e8, 3e7, -2e7, 1e8, -1e9, 1e9});
    scene.place(3, def, Matrix{1e-9, 0, 0, 1e-9, px(10), px(10)});
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 50, 50, kRed); // deep inside the enlarged circle
}

} // namespace
} // namespace flash::test
