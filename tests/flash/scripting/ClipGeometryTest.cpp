// Clips as scripts reach and shape them: parents and the root as members, masks
// set by script, hit tests against the shapes, and the Transform object.
#include "ScriptedMovie.h"

#include <QColor>
#include <gtest/gtest.h>

namespace flash::test {
namespace {

using swfw::SwfWriter;

// One frame whose script runs once; the picture after it when asked for.
ScriptRun runScript(std::string_view source, QSize imageSize = {})
{
    SwfWriter w(8, 200, 200, 12);
    w.actions(script(source)).showFrame();
    return runMovie(w.finish(), 1, imageSize);
}

constexpr std::string_view kSquareAndTriangle = R"(
    var a = createEmptyMovieClip("a", 1);
    a.beginFill(0xFF0000); a.moveTo(0, 0); a.lineTo(100, 0); a.lineTo(100, 100); a.lineTo(0, 100); a.endFill();
    var m = createEmptyMovieClip("m", 2);
    m.beginFill(0x000000); m.moveTo(50, 50); m.lineTo(150, 50); m.lineTo(150, 150); m.endFill();
)";

TEST(ClipGeometry, ParentAndRootAreMembersOfEveryClip)
{
    const ScriptRun run = runScript(R"(
        var kid = createEmptyMovieClip("kid", 1);
        var grandchild = kid.createEmptyMovieClip("g", 1);
        trace(kid._parent + " " + grandchild._parent + " " + grandchild._parent._parent);
        trace(grandchild._root + " " + typeof _root._parent + " " + grandchild._level0);
    )");
    EXPECT_EQ(run.traces, (Lines{"_level0 _level0.kid _level0", "_level0 undefined _level0"}));
}

TEST(ClipGeometry, HitTestWithTheShapeFlagFollowsTheShapeAndItsMask)
{
    const ScriptRun run = runScript(std::string(kSquareAndTriangle) + R"(
        trace(m.hitTest(60, 100, false) + " " + m.hitTest(60, 100, true) + " " + m.hitTest(140, 60, true));
        a.setMask(m);
        trace(a.hitTest(20, 80, true) + " " + a.hitTest(90, 60, true));
        var line = createEmptyMovieClip("line", 3);
        line.lineStyle(10, 0x0000FF); line.moveTo(0, 180); line.lineTo(200, 180);
        trace(line.hitTest(100, 184, true) + " " + line.hitTest(100, 170, true));
    )");
    EXPECT_EQ(run.traces, (Lines{"true false true", "false true", "true false"}));
}

TEST(ClipGeometry, AMaskSetByScriptClipsTheClipAndIsNotDrawnUntilLifted)
{
    const ScriptRun masked = runScript(std::string(kSquareAndTriangle) + "a.setMask(m);", QSize(200, 200));
    EXPECT_EQ(QColor(masked.image.pixel(90, 60)), QColor(Qt::red)) << "inside square and triangle";
    EXPECT_EQ(QColor(masked.image.pixel(20, 80)), QColor(Qt::white)) << "outside the triangle";
    EXPECT_EQ(QColor(masked.image.pixel(140, 60)), QColor(Qt::white)) << "the mask itself is not drawn";

    const ScriptRun lifted = runScript(std::string(kSquareAndTriangle) + "a.setMask(m); a.setMask(null);", QSize(200, 200));
    EXPECT_EQ(QColor(lifted.image.pixel(20, 80)), QColor(Qt::red));
    EXPECT_EQ(QColor(lifted.image.pixel(140, 60)), QColor(Qt::black));
}

TEST(ClipGeometry, TransformReadsAndWritesTheClipsMatrixAndColour)
{
    const ScriptRun run = runScript(std::string(kSquareAndTriangle) + R"(
        a._x = 10; a._xscale = 50;
        trace(a.transform.matrix);
        var matrix = a.transform.matrix; matrix.tx = 50; matrix.ty = 20;
        a.transform.matrix = matrix;
        a.transform.colorTransform = new flash.geom.ColorTransform(1, 1, 1, 0.5, 0, 0, 0, 0);
        trace(a._x + " " + a._y + " " + a._xscale + " " + a._alpha);
        trace(a.transform.pixelBounds + " " + (a.transform instanceof flash.geom.Transform));
        var kid = a.createEmptyMovieClip("kid", 1);
        kid._y = 5;
        trace(kid.transform.concatenatedMatrix);
    )");
    EXPECT_EQ(run.traces, (Lines{"(a=0.5, b=0, c=0, d=1, tx=10, ty=0)", "50 20 50 50", "(x=50, y=20, w=50, h=100) true",
                                 "(a=0.5, b=0, c=0, d=1, tx=50, ty=25)"}));
}

TEST(ClipGeometry, AScalingGridSetByScriptKeepsTheCornersUnscaled)
{
    SwfWriter w(8, 400, 100, 12);
    const uint16_t corner = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0xFF0000)).rect(0, 0, 10, 50));
    const uint16_t body = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0x0000FF)).rect(10, 0, 90, 50));
    swfw::Timeline box(8);
    box.place(1, corner).place(2, body).showFrame();
    w.exportAssets({{w.defineSprite(box), "Box"}});
    w.actions(script(R"(
        var b = attachMovie("Box", "b", 1);
        b.scale9Grid = new flash.geom.Rectangle(10, 10, 80, 30);
        b._xscale = 300;
        trace(b.scale9Grid + " " + b._width);
    )")).showFrame();
    const ScriptRun run = runMovie(w.finish(), 1, QSize(400, 100));
    EXPECT_EQ(run.traces, Lines{"(x=10, y=10, w=80, h=30) 300"});
    EXPECT_EQ(QColor(run.image.pixel(5, 25)), QColor(Qt::red));
    EXPECT_EQ(QColor(run.image.pixel(20, 25)), QColor(Qt::blue)) << "the corner column stays 10 pixels wide";
}

} // namespace
} // namespace flash::test
