// The pointer and the keys reaching a movie: buttons through their states and
// condition actions, clips as buttons and as listeners, keys, and dragging.
#include "../scripting/ScriptedMovie.h"

#include "flash/input/KeyCodes.h"

#include <QColor>
#include <gtest/gtest.h>

namespace flash::test {
namespace {

using swfw::ButtonBuilder;
using swfw::ButtonPart;
using swfw::Color;
using swfw::Placement;
using swfw::ShapeBuilder;
using swfw::SwfWriter;
namespace condition = swfw::buttonCondition;

// A player of `movie` that collects trace lines; its first frame has run.
struct InputRun {
    Lines traces;
    Player player;

    explicit InputRun(const std::vector<uint8_t>& movie) : player(settings(traces))
    {
        EXPECT_TRUE(player.loadBytes(movie));
        player.tick();
    }
    static PlayerSettings settings(Lines& traces)
    {
        PlayerSettings s;
        s.scriptClock = ScriptClock::Ticks;
        s.scriptOutput.trace = [&traces](std::string_view line) { traces.emplace_back(line); };
        return s;
    }
    // Moves to a point of the stage given in pixels.
    void moveTo(double x, double y) { player.pointerMove(Point{x * kTwipsPerPixel, y * kTwipsPerPixel}); }
    QColor colorAt(int x, int y) { return QColor(player.renderImage(QSize(200, 100)).pixel(x, y)); }
    Lines take() { return std::exchange(traces, {}); }
};

uint16_t square(SwfWriter& w, uint32_t rgb, double x, double y, double size)
{
    return w.defineShape(ShapeBuilder().fillSolid(Color::rgb(rgb)).rect(x, y, size, size));
}

TEST(Input, AButtonShowsItsStatesAndRunsTheActionOfEachTransition)
{
    SwfWriter w(8, 200, 100, 12);
    const uint16_t up = square(w, 0xFF0000, 0, 0, 40), over = square(w, 0x00FF00, 0, 0, 40),
                   down = square(w, 0x0000FF, 0, 0, 40);
    ButtonBuilder button;
    button.part(ButtonPart{.states = 1 | 8, .characterId = up, .depth = 1})
        .part(ButtonPart{.states = 2, .characterId = over, .depth = 2})
        .part(ButtonPart{.states = 4, .characterId = down, .depth = 3});
    const std::pair<uint16_t, const char*> events[] = {
        {condition::IdleToOverUp, "rollOver"},       {condition::OverUpToIdle, "rollOut"},
        {condition::OverUpToOverDown, "press"},      {condition::OverDownToOverUp, "release"},
        {condition::OverDownToOutDown, "dragOut"},   {condition::OutDownToOverDown, "dragOver"},
        {condition::OutDownToIdle, "releaseOutside"}};
    for (const auto& [bit, name] : events)
        button.on(bit, script(std::string("trace('") + name + "');"));
    button.on(condition::keyPress(key::buttonKeyCode(key::Left, 0)), script("trace('left key');"));
    w.place(1, w.defineButton(button), swfw::Matrix::translation(10, 10));
    w.actions(script("stop();")).showFrame();

    InputRun run(w.finish());
    run.moveTo(20, 20);
    EXPECT_EQ(run.colorAt(30, 30), QColor(Qt::green));
    run.player.pointerPress();
    EXPECT_EQ(run.colorAt(30, 30), QColor(Qt::blue));
    run.moveTo(150, 80);
    run.moveTo(20, 20);
    run.player.pointerRelease();
    run.moveTo(150, 80);
    run.moveTo(20, 20);
    run.player.pointerPress();
    run.moveTo(150, 80);
    run.player.pointerRelease();
    EXPECT_EQ(run.colorAt(30, 30), QColor(Qt::red));
    run.player.keyEvent(KeyEvent{KeyDirection::Down, key::Left, 0});
    EXPECT_EQ(run.take(), (Lines{"rollOver", "press", "dragOut", "dragOver", "release", "rollOut", "rollOver", "press",
                                 "dragOut", "releaseOutside", "left key"}));
}

// A clip with handlers in a clip: the outer one takes the pointer for the inner one.
std::vector<uint8_t> clipButtonsMovie(std::string_view frameScript)
{
    SwfWriter w(8, 200, 100, 12);
    swfw::Timeline inner(8);
    inner.place(1, square(w, 0x0000FF, 0, 0, 40)).showFrame();
    swfw::Timeline outer(8);
    outer.place(Placement{.depth = 1, .characterId = w.defineSprite(inner), .name = "inner"}).showFrame();
    w.place(Placement{.depth = 1, .characterId = w.defineSprite(outer), .matrix = swfw::Matrix::translation(100, 0),
                      .name = "outer",
                      .clipActions = {swfw::ClipAction{swfw::clipEvent::MouseDown, {}, script("trace('clip event mouseDown ' + _name);")}}});
    w.actions(script(frameScript)).showFrame();
    return w.finish();
}

TEST(Input, ClipsWithHandlersActAsButtonsAndEveryListenerHearsTheMouse)
{
    InputRun run(clipButtonsMovie(R"(
        outer.onPress = function() { trace("press " + this._name + " at " + _xmouse); };
        outer.onRelease = function() { trace("release"); };
        outer.inner.onPress = function() { trace("never: the outer clip takes the pointer"); };
        var listener = { onMouseDown: function() { trace("listener down"); },
                         onMouseUp: function() { trace("listener up"); } };
        Mouse.addListener(listener);
        stop();
    )"));
    run.moveTo(120, 20);
    EXPECT_EQ(run.player.cursor(), Player::Cursor::Hand);
    run.player.pointerPress();
    run.player.pointerRelease();
    EXPECT_EQ(run.take(), (Lines{"listener down", "clip event mouseDown outer", "press outer at 120", "listener up",
                                 "release"}));
    run.moveTo(20, 20);
    EXPECT_EQ(run.player.cursor(), Player::Cursor::Arrow);
}

TEST(Input, ADisabledClipIsPassedOverAndOneWithoutTheHandShowsTheArrow)
{
    InputRun run(clipButtonsMovie(R"(
        outer.onRelease = function() { trace("release " + this.enabled); this.enabled = false; };
        outer.useHandCursor = false;
        stop();
    )"));
    run.moveTo(120, 20);
    EXPECT_EQ(run.player.cursor(), Player::Cursor::Arrow);
    for (int click = 0; click < 2; ++click) {
        run.player.pointerPress();
        run.player.pointerRelease();
    }
    EXPECT_EQ(run.take(), (Lines{"clip event mouseDown outer", "release true", "clip event mouseDown outer"}));
}

TEST(Input, KeysReachListenersClipEventsAndTheKeyObject)
{
    SwfWriter w(8, 200, 100, 12);
    w.place(Placement{.depth = 1, .characterId = w.defineSprite(swfw::Timeline(8).showFrame()), .name = "mc",
                      .clipActions = {swfw::ClipAction{swfw::clipEvent::KeyDown, {}, script("trace('clip keyDown ' + Key.getCode());")},
                                      swfw::ClipAction{swfw::clipEvent::KeyPress, uint8_t('a'), script("trace('on keyPress a');")}}});
    w.actions(script(R"(
        Key.addListener({ onKeyDown: function() { trace("down " + Key.getCode() + " " + Key.getAscii() + " " + Key.isDown(65)); },
                          onKeyUp: function() { trace("up " + Key.isDown(65) + " " + Key.isDown(Key.SHIFT)); } });
        mc.focusEnabled = true;
        mc.onKeyUp = function() { trace("focused clip up " + Key.getCode()); };
        trace(Selection.setFocus(mc) + " " + Selection.getFocus());
        stop();
    )")).showFrame();
    InputRun run(w.finish());
    run.player.keyEvent(KeyEvent{KeyDirection::Down, 65, 'a'});
    run.player.keyEvent(KeyEvent{KeyDirection::Up, 65, 'a'});
    EXPECT_EQ(run.take(), (Lines{"true _level0.mc", "down 65 97 true", "clip keyDown 65", "on keyPress a", "up false false",
                                 "focused clip up 65"}));
}

TEST(Input, ADraggedClipFollowsThePointerWithinItsBounds)
{
    InputRun run(clipButtonsMovie(R"(
        outer.onPress = function() { this.startDrag(false, 0, 0, 150, 50); };
        outer.onRelease = outer.onReleaseOutside = function() {
            this.stopDrag();
            trace(this._x + " " + this._y + " over " + this._droptarget);
        };
        var target = createEmptyMovieClip("target", 5);
        target.beginFill(0); target.moveTo(0, 0); target.lineTo(200, 0); target.lineTo(200, 100); target.endFill();
        target.swapDepths(-100);
        stop();
    )"));
    run.moveTo(110, 10);
    run.player.pointerPress();
    run.moveTo(130, 30);
    run.moveTo(190, 90); // past the bounds
    run.player.pointerRelease();
    run.moveTo(10, 10);
    EXPECT_EQ(run.take(), (Lines{"clip event mouseDown outer", "150 50 over /target"}));
}

TEST(Input, UnderNoScaleTheStageKeepsItsPixelsAtItsAlignedCornerAndHearsResizes)
{
    InputRun run(clipButtonsMovie(R"(
        Stage.scaleMode = "noScale";
        Stage.align = "tl";
        Stage.addListener({ onResize: function() { trace("resize " + Stage.width + "x" + Stage.height); } });
        trace(Stage.scaleMode + " " + Stage.align);
        outer.onPress = function() { trace("press " + _root._xmouse); };
        stop();
    )"));
    run.player.setViewSize(QSize(400, 200));
    const QImage image = run.player.renderImage(QSize(400, 200));
    EXPECT_EQ(QColor(image.pixel(110, 10)), QColor(Qt::blue)) << "stage pixels, from the top left corner";
    EXPECT_EQ(QColor(image.pixel(250, 10)), QColor(Qt::white));
    run.player.pointerMove(run.player.viewToStage(110, 10, QSize(400, 200)));
    run.player.pointerPress();
    EXPECT_EQ(run.take(), (Lines{"noScale TL", "resize 400x200", "clip event mouseDown outer", "press 110"}));
}

TEST(Input, AClickedInputFieldTakesTheFocusAndTheTypingAndTabMovesOn)
{
    SwfWriter w(8, 200, 100, 12);
    w.actions(script(R"(
        createTextField("name", 1, 10, 10, 80, 20);
        name.type = "input";
        name.variable = "typed";
        name.onChanged = function() { trace("changed " + typed + " caret " + Selection.getCaretIndex()); };
        name.onKillFocus = function(next) { trace("kill focus to " + next); };
        createTextField("other", 2, 10, 50, 80, 20);
        other.type = "input";
        other.onSetFocus = function(previous) { trace("set focus from " + previous); };
        stop();
    )")).showFrame();
    InputRun run(w.finish());
    run.moveTo(20, 20);
    EXPECT_EQ(run.player.cursor(), Player::Cursor::IBeam);
    run.player.pointerPress();
    run.player.pointerRelease();
    EXPECT_TRUE(run.player.acceptsText());
    run.player.keyEvent(KeyEvent{KeyDirection::Down, 65, 'a'});
    run.player.typeText(U"中b");
    run.player.keyEvent(KeyEvent{KeyDirection::Down, key::Backspace, 8});
    run.player.keyEvent(KeyEvent{KeyDirection::Down, key::Tab, 9});
    run.player.typeText(U"x");
    run.moveTo(150, 90);
    run.player.pointerPress();
    EXPECT_FALSE(run.player.acceptsText()) << "a press on nothing takes the focus away";
    run.player.pointerRelease();
    run.player.typeText(U"ignored");
    EXPECT_EQ(run.take(), (Lines{"changed a caret 1", "changed a中b caret 3", "changed a中 caret 2",
                                 "kill focus to _level0.other", "set focus from _level0.name"}));
}

TEST(Input, TabFocusesAButtonWhichShowsTheYellowRectangleAndEnterPressesIt)
{
    SwfWriter w(8, 200, 100, 12);
    ButtonBuilder button;
    button.part(ButtonPart{.states = 1 | 2 | 4 | 8, .characterId = square(w, 0xFF0000, 0, 0, 40), .depth = 1})
        .on(condition::OverDownToOverUp, script("trace('released by ' + Selection.getFocus());"));
    w.place(Placement{.depth = 1, .characterId = w.defineButton(button), .matrix = swfw::Matrix::translation(50, 30),
                      .name = "ok"});
    w.actions(script("stop();")).showFrame();
    InputRun run(w.finish());
    run.player.keyEvent(KeyEvent{KeyDirection::Down, key::Tab, 9});
    EXPECT_EQ(run.colorAt(50, 50), QColor(Qt::yellow));
    run.player.keyEvent(KeyEvent{KeyDirection::Down, key::Enter, 13});
    EXPECT_EQ(run.take(), Lines{"released by _level0.ok"});
}

TEST(Input, TypingScrollsAFieldSoThatTheCaretShows)
{
    SwfWriter w(8, 200, 100, 12);
    w.actions(script(R"(
        createTextField("line", 1, 10, 10, 40, 20);
        line.type = "input";
        createTextField("lines", 2, 10, 40, 100, 30);
        lines.type = "input"; lines.multiline = true;
        Selection.setFocus(line);
    )")).showFrame();
    w.actions(script("trace(line.hscroll > 0); trace(lines.scroll > 1); stop();")).showFrame();
    InputRun run(w.finish());
    run.player.typeText(U"a line far longer than its field");
    run.player.keyEvent(KeyEvent{KeyDirection::Down, key::Tab, 9});
    for (int i = 0; i < 6; ++i)
        run.player.keyEvent(KeyEvent{KeyDirection::Down, key::Enter, 13});
    run.player.tick(); // the second frame reads the scroll positions
    EXPECT_EQ(run.take(), (Lines{"true", "true"}));
}

TEST(Input, TimersRunBetweenFramesWhenTheyAreDue)
{
    SwfWriter w(8, 200, 100, 12);
    w.actions(script(R"(
        Key.addListener({ onKeyDown: function() { setTimeout(function() { trace("timeout"); }, 0); } });
        stop();
    )")).showFrame();
    InputRun run(w.finish());
    EXPECT_FALSE(run.player.runDueTimers());
    run.player.keyEvent(KeyEvent{KeyDirection::Down, 65, 'a'});
    EXPECT_TRUE(run.player.runDueTimers());
    EXPECT_EQ(run.take(), Lines{"timeout"}) << "without a frame";
}

} // namespace
} // namespace flash::test
