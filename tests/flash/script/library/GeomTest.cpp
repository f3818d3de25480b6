// flash.geom: Point, Rectangle, Matrix and ColorTransform as scripts use them.
#include "LibraryTest.h"

#include <numbers>

namespace flash::script {
namespace {

using GeomTest = LibraryTest;

TEST_F(GeomTest, PointArithmetic)
{
    const Value p = make("flash.geom.Point", { 3, 4 });
    EXPECT_EQ(text(p), "(x=3, y=4)");
    EXPECT_EQ(text(make("flash.geom.Point")), "(x=0, y=0)");
    EXPECT_EQ(text(get(p, "length")), "5");
    EXPECT_EQ(text(call(p, "add", { make("flash.geom.Point", { 1, 1 }) })), "(x=4, y=5)");
    EXPECT_EQ(text(call(p, "subtract", { make("flash.geom.Point", { 1, 1 }) })), "(x=2, y=3)");
    EXPECT_EQ(text(call(p, "equals", { call(p, "clone") })), "true");
    EXPECT_EQ(text(call(p, "equals", { 3 })), "false");
    (void)call(p, "normalize", { 10 });
    EXPECT_EQ(text(p), "(x=6, y=8)");
    (void)call(p, "offset", { -6, 1 });
    EXPECT_EQ(text(p), "(x=0, y=9)");

    const Value point = global("flash.geom.Point");
    const Value a = make("flash.geom.Point", { 0, 0 }), b = make("flash.geom.Point", { 10, 20 });
    EXPECT_EQ(text(call(point, "distance", { make("flash.geom.Point", { 1, 1 }), make("flash.geom.Point", { 4, 5 }) })), "5");
    EXPECT_EQ(text(call(point, "interpolate", { a, b, 0.25 })), "(x=7.5, y=15)");
    EXPECT_EQ(text(call(point, "polar", { 2, 0 })), "(x=2, y=0)");
    EXPECT_TRUE(call(call(point, "polar", { 2, 0 }), "clone").isObject());
}

TEST_F(GeomTest, RectangleEdgesAndSetOperations)
{
    const Value r = make("flash.geom.Rectangle", { 0, 0, 10, 10 });
    EXPECT_EQ(text(r), "(x=0, y=0, w=10, h=10)");
    EXPECT_EQ(text(get(r, "bottomRight")), "(x=10, y=10)");
    EXPECT_EQ(text(call(r, "contains", { 0, 0 })) + text(call(r, "contains", { 10, 5 })), "truefalse");
    set(r, "left", 2); // moving an edge keeps the opposite one
    set(r, "bottom", 20);
    EXPECT_EQ(text(r), "(x=2, y=0, w=8, h=20)");
    set(r, "topLeft", make("flash.geom.Point", { 0, 0 }));
    EXPECT_EQ(text(r), "(x=0, y=0, w=10, h=20)");
    EXPECT_EQ(text(get(r, "size")), "(x=10, y=20)");

    const Value other = make("flash.geom.Rectangle", { 5, 15, 10, 10 });
    EXPECT_EQ(text(call(r, "intersection", { other })), "(x=5, y=15, w=5, h=5)");
    EXPECT_EQ(text(call(r, "union", { other })), "(x=0, y=0, w=15, h=25)");
    EXPECT_EQ(text(call(r, "intersects", { make("flash.geom.Rectangle", { 10, 0, 5, 5 }) })), "false");
    EXPECT_EQ(text(call(r, "intersection", { make("flash.geom.Rectangle", { 10, 0, 5, 5 }) })), "(x=0, y=0, w=0, h=0)");
    EXPECT_EQ(text(call(r, "containsRectangle", { make("flash.geom.Rectangle", { 1, 1, 9, 19 }) })), "true");
    (void)call(r, "inflate", { 1, 2 });
    EXPECT_EQ(text(r), "(x=-1, y=-2, w=12, h=24)");
    (void)call(r, "setEmpty");
    EXPECT_EQ(text(call(r, "isEmpty")), "true");
    EXPECT_EQ(text(call(r, "union", { other })), "(x=5, y=15, w=10, h=10)");
}

TEST_F(GeomTest, MatrixTransforms)
{
    const Value m = make("flash.geom.Matrix");
    EXPECT_EQ(text(m), "(a=1, b=0, c=0, d=1, tx=0, ty=0)");
    (void)call(m, "scale", { 2, 3 });
    (void)call(m, "translate", { 10, 20 });
    EXPECT_EQ(text(call(m, "transformPoint", { make("flash.geom.Point", { 1, 1 }) })), "(x=12, y=23)");
    EXPECT_EQ(text(call(m, "deltaTransformPoint", { make("flash.geom.Point", { 1, 1 }) })), "(x=2, y=3)");
    const Value inverse = call(m, "clone");
    (void)call(inverse, "invert");
    (void)call(inverse, "concat", { m });
    EXPECT_EQ(text(inverse), "(a=1, b=0, c=0, d=1, tx=0, ty=0)");

    (void)call(m, "identity");
    (void)call(m, "rotate", { std::numbers::pi / 2 });
    EXPECT_EQ(text(call(m, "transformPoint", { make("flash.geom.Point", { 1, 0 }) })).substr(0, 6), "(x=6.1");
    (void)call(m, "createBox", { 2, 3, 0, 5, 6 });
    EXPECT_EQ(text(m), "(a=2, b=0, c=0, d=3, tx=5, ty=6)");
    (void)call(m, "createGradientBox", { 1638.4, 819.2, 0, 10, 0 });
    EXPECT_EQ(text(m), "(a=1, b=0, c=0, d=0.5, tx=829.2, ty=409.6)");

    const Value flat = make("flash.geom.Matrix", { 0, 0, 0, 0, 5, 5 });
    (void)call(flat, "invert");
    EXPECT_EQ(text(flat), "(a=1, b=0, c=0, d=1, tx=0, ty=0)");
}

TEST_F(GeomTest, ColorTransformRgbAndConcat)
{
    const Value t = make("flash.geom.ColorTransform");
    EXPECT_EQ(text(t), "(redMultiplier=1, greenMultiplier=1, blueMultiplier=1, alphaMultiplier=1, "
                       "redOffset=0, greenOffset=0, blueOffset=0, alphaOffset=0)");
    set(t, "rgb", 0x336699);
    EXPECT_EQ(text(get(t, "rgb")), std::to_string(0x336699));
    EXPECT_EQ(text(get(t, "redMultiplier")) + "," + text(get(t, "greenOffset")) + "," + text(get(t, "alphaMultiplier")),
              "0,102,1");

    const Value half = make("flash.geom.ColorTransform", { 0.5, 0.5, 0.5, 1, 10, 0, 0, 0 });
    (void)call(half, "concat", { make("flash.geom.ColorTransform", { 2, 1, 1, 1, 100, 0, 0, 0 }) });
    EXPECT_EQ(text(get(half, "redMultiplier")) + "," + text(get(half, "redOffset")), "1,60");
}

} // namespace
} // namespace flash::script
