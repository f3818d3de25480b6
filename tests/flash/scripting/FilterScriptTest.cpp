// Filters a script sets on a clip: drawn over its picture, and read back as copies.
#include "ScriptedMovie.h"

#include "flash/player/Player.h"

#include <gtest/gtest.h>

namespace flash::test {
namespace {

std::vector<uint8_t> squareMovie(const std::string& script)
{
    swfw::SwfWriter w(8, 100, 100, 12);
    const uint16_t square = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0x0000ff)).rect(0, 0, 20, 20));
    swfw::Timeline clip(8);
    clip.place(1, square).showFrame();
    const uint16_t sprite = w.defineSprite(clip);
    w.place(swfw::Placement{.depth = 1, .characterId = sprite, .matrix = swfw::Matrix::translation(40, 40), .name = std::string("box")});
    w.actions(swfw::compileActionScript(script));
    w.showFrame();
    return w.finish();
}

TEST(FilterScript, AShadowSetByAScriptIsDrawnAndReadsBackAsACopy)
{
    const auto run = runMovie(squareMovie(R"(
        var shadow = new flash.filters.DropShadowFilter(10, 0, 0xFF0000, 1, 0, 0);
        box.filters = [shadow];
        shadow.distance = 30; // the clip keeps what was assigned
        var back = box.filters;
        trace(back.length + " " + back[0].distance + " " + back[0].color + " " + (back[0] instanceof flash.filters.DropShadowFilter));
        trace(box.filters[0] == box.filters[0]);
    )"), 2, QSize(100, 100));
    EXPECT_EQ(run.traces, (Lines{"1 10 16711680 true", "false"}));
    EXPECT_EQ(run.image.pixel(50, 50), qRgb(0, 0, 255));  // the square
    EXPECT_EQ(run.image.pixel(65, 50), qRgb(255, 0, 0));  // its shadow, 10 pixels to the right
    EXPECT_EQ(run.image.pixel(75, 50), qRgb(255, 255, 255));
}

TEST(FilterScript, ABlurSpreadsTheClipAndAColourMatrixRecolours)
{
    const auto run = runMovie(squareMovie(R"(
        box.filters = [new flash.filters.BlurFilter(8, 8, 2),
                       new flash.filters.ColorMatrixFilter([0,0,1,0,0, 0,1,0,0,0, 1,0,0,0,0, 0,0,0,1,0])];
    )"), 2, QSize(100, 100));
    const QRgb centre = run.image.pixel(50, 50);
    EXPECT_GT(qRed(centre), 200) << "blue became red";
    EXPECT_LT(qBlue(centre), 50);
    const QRgb outside = run.image.pixel(37, 50); // 3 pixels left of the square: reached by the blur
    EXPECT_LT(qGreen(outside), 250);
    EXPECT_GT(qGreen(outside), 100);
}

// A clip cached as a bitmap is drawn from its picture while it only moves, and
// drawn anew once what it shows changes.
TEST(FilterScript, ACachedClipFollowsItsMovesAndItsChanges)
{
    PlayerSettings settings;
    settings.scriptClock = ScriptClock::Ticks;
    Player player(settings);
    ASSERT_TRUE(player.loadBytes(squareMovie(R"(
        box.cacheAsBitmap = true;
        var ticks = 0;
        this.onEnterFrame = function() {
            ticks++;
            box._x += 10;
            if (ticks == 3) new Color(box).setRGB(0x00ff00);
        };
    )")));
    std::vector<QImage> frames;
    for (int tick = 0; tick < 4; ++tick) {
        player.tick();
        frames.push_back(player.renderImage(QSize(100, 100)));
    }
    // The square (20 pixels wide, from x = 50 after the first tick) moves 10 pixels a tick and turns green on the third.
    EXPECT_EQ(frames[1].pixel(65, 50), qRgb(0, 0, 255));
    EXPECT_EQ(frames[1].pixel(55, 50), qRgb(255, 255, 255));
    EXPECT_EQ(frames[2].pixel(75, 50), qRgb(0, 255, 0));
    EXPECT_EQ(frames[3].pixel(85, 50), qRgb(0, 255, 0));
    EXPECT_EQ(frames[3].pixel(75, 50), qRgb(255, 255, 255));
}

} // namespace
} // namespace flash::test
