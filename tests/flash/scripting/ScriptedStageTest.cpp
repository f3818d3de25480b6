// Scripts on the live stage: the order of a tick's work, the goto rules as
// scripts see them, clips made by scripts and their classes, references to
// removed clips, drawing and colour, and the bounds that keep a movie running.
#include "ScriptedMovie.h"

#include <QColor>
#include <gtest/gtest.h>

namespace flash::test {
namespace {

using swfw::ClipAction;
using swfw::Placement;
using swfw::SwfWriter;
namespace clipEvent = swfw::clipEvent;

TEST(ScriptedStage, ATickRunsLoadHandlersThenFrameActionsParentsFirstThenEnterFrame)
{
    SwfWriter w(8, 100, 100, 12);
    swfw::Timeline clip(8);
    clip.actions(script("trace('clip frame ' + _currentframe);")).showFrame();
    clip.actions(script("trace('clip frame ' + _currentframe);")).showFrame();
    const uint16_t clipId = w.defineSprite(clip);
    w.place(Placement{.depth = 1, .characterId = clipId, .name = "mc",
                      .clipActions = {ClipAction{clipEvent::Load, {}, script("trace('load');")},
                                      ClipAction{clipEvent::EnterFrame, {}, script("trace('enterFrame ' + _currentframe);")}}});
    w.actions(script("trace('root frame ' + _currentframe); mc.onEnterFrame = function() { trace('onEnterFrame'); };"));
    w.showFrame();
    w.actions(script("trace('root frame 2'); stop();")).showFrame();
    const ScriptRun run = runMovie(w.finish(), 2);
    const Lines expected{"load", "root frame 1", "clip frame 1", "enterFrame 1", "onEnterFrame",
                         "root frame 2", "clip frame 2", "enterFrame 2", "onEnterFrame"};
    EXPECT_EQ(run.traces, expected);
    EXPECT_TRUE(run.reports.empty()) << run.reports.front();
}

TEST(ScriptedStage, GoingBackKeepsTheSameClipAndWhatScriptsSetOnIt)
{
    SwfWriter w(8, 100, 100, 12);
    const uint16_t empty = w.defineSprite(swfw::Timeline(8).showFrame());
    w.place(Placement{.depth = 1, .characterId = empty, .name = "mc"});
    w.actions(script("if (mc.count == undefined) { mc.count = 0; mc._x = 40; } mc.count++; trace(mc.count + ' ' + mc._x);"));
    w.showFrame();
    w.move(1, swfw::Matrix::translation(10, 0)).showFrame(); // the timeline moves depth 1: the script set _x
    w.actions(script("trace('frame 3 x=' + mc._x); gotoAndPlay(1);")).showFrame();
    const ScriptRun run = runMovie(w.finish(), 3);
    const Lines expected{"1 40", "frame 3 x=40", "2 40"};
    EXPECT_EQ(run.traces, expected);
}

// An exported symbol "Ball" whose class is registered by its init actions.
std::vector<uint8_t> ballMovie(std::string_view frameScript)
{
    SwfWriter w(8, 100, 100, 12);
    const uint16_t ball = w.defineSprite(swfw::Timeline(8).showFrame());
    const uint16_t plain = w.defineSprite(swfw::Timeline(8).showFrame());
    w.exportAssets({{ball, "Ball"}, {plain, "Plain"}});
    w.initActions(ball, script(R"(
        _global.Ball = function() { trace("Ball constructed, speed " + this.speed); };
        Ball.prototype.__proto__ = MovieClip.prototype;
        Ball.prototype.describe = function() { return "ball " + this._name + " at depth " + this.getDepth(); };
        Ball.prototype.onLoad = function() { trace("onLoad " + this._name); };
        Object.registerClass("Ball", Ball);
    )"));
    w.actions(script(frameScript)).showFrame();
    return w.finish();
}

TEST(ScriptedStage, ScriptMadeClipsTakeTheirClassAndDepths)
{
    const ScriptRun run = runMovie(ballMovie(R"(
        var b = attachMovie("Ball", "b1", 5, {speed: 3});
        trace(b.describe());
        trace(b instanceof Ball);
        var e = createEmptyMovieClip("e", 6);
        trace(getNextHighestDepth());
        e.swapDepths(b);
        trace(e.getDepth() + " " + b.getDepth() + " " + typeof b);
        trace(getInstanceAtDepth(5)._name);
    )"), 1);
    const Lines expected{"Ball constructed, speed 3", "ball b1 at depth 5", "true", "7", "5 6 movieclip", "e",
                         "onLoad b1"};
    EXPECT_EQ(run.traces, expected);
}

TEST(ScriptedStage, AReferenceToARemovedClipFindsNothingThenTheNewClipAtItsPath)
{
    const ScriptRun run = runMovie(ballMovie(R"(
        var r = attachMovie("Plain", "x", 1);
        r.v = 1;
        trace(r._name + " " + r.v);
        r.removeMovieClip();
        trace(r._name + " " + r.v + " " + x);
        var s = attachMovie("Plain", "x", 2);
        s.v = 2;
        trace(r.v + " " + r.getDepth());
    )"), 1);
    const Lines expected{"x 1", "undefined undefined undefined", "2 2"};
    EXPECT_EQ(run.traces, expected);
}

TEST(ScriptedStage, DrawingAndColourShowOnStage)
{
    SwfWriter w(8, 100, 100, 12);
    w.actions(script(R"(
        var d = createEmptyMovieClip("d", 1);
        d.beginFill(0xFF0000);
        d.moveTo(10, 10); d.lineTo(50, 10); d.lineTo(50, 50); d.lineTo(10, 50);
        d.endFill();
        d._x = 40;
        var c = new Color(d);
        c.setRGB(0x0000FF);
        trace(c.getRGB() + " " + d._width);
    )")).showFrame();
    const ScriptRun run = runMovie(w.finish(), 1, QSize(100, 100));
    EXPECT_EQ(run.traces, Lines{"255 40"});
    EXPECT_EQ(QColor(run.image.pixel(70, 30)), QColor(Qt::blue)) << "drawn at 10..50, moved by 40";
    EXPECT_EQ(QColor(run.image.pixel(30, 30)), QColor(Qt::white));
}

TEST(ScriptedStage, AScriptThatNeverEndsIsStoppedAndTheMovieGoesOn)
{
    SwfWriter w(8, 100, 100, 12);
    w.actions(script("trace('before'); while (true) {} trace('never');")).showFrame();
    w.actions(script("trace('after'); stop();")).showFrame();
    const ScriptRun run = runMovie(w.finish(), 2, {}, std::chrono::milliseconds(100));
    EXPECT_EQ(run.traces, (Lines{"before", "after"}));
    EXPECT_EQ(run.reports.size(), 1u);
}

TEST(ScriptedStage, ClipsPlacedWithoutANameAreCalledInstanceN)
{
    SwfWriter w(8, 100, 100, 12);
    const uint16_t empty = w.defineSprite(swfw::Timeline(8).showFrame());
    w.place(Placement{.depth = 1, .characterId = empty});
    w.place(Placement{.depth = 2, .characterId = empty, .name = "named"});
    w.place(Placement{.depth = 3, .characterId = empty});
    w.actions(script("for (var k in this) if (typeof this[k] == 'movieclip') trace(k + ' ' + this[k]._target);")).showFrame();
    const ScriptRun run = runMovie(w.finish(), 1);
    EXPECT_EQ(run.traces, (Lines{"instance2 /instance2", "named /named", "instance1 /instance1"}));
}

} // namespace
} // namespace flash::test
