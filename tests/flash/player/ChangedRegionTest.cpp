// Drawing only what changed: a movie that stands still asks for no drawing, and
// a small animation on a large still stage asks for its own corner only.
#include "AsCompiler.h"
#include "SwfWriter.h"

#include "flash/player/Player.h"

#include <gtest/gtest.h>

namespace flash::test {
namespace {

// A stage of 400 x 300 filled by a still picture, with a 10 x 10 square that a script moves when `moving`.
std::vector<uint8_t> stageWithSquare(bool moving)
{
    swfw::SwfWriter w(8, 400, 300, 12);
    const uint16_t backdrop = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0x336699)).rect(0, 0, 400, 300));
    const uint16_t square = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0xff0000)).rect(0, 0, 10, 10));
    swfw::Timeline box(8);
    box.place(1, square).showFrame();
    const uint16_t sprite = w.defineSprite(box);
    w.place(1, backdrop);
    w.place(swfw::Placement{.depth = 2, .characterId = sprite, .matrix = swfw::Matrix::translation(20, 20),
                            .name = std::string("box")});
    w.actions(swfw::compileActionScript(moving ? "box.onEnterFrame = function() { this._x += 2; };" : "var still = 1;"));
    w.showFrame();
    return w.finish();
}

TEST(ChangedRegion, AStillMovieAsksForNothingAndAMovingSquareForItsCorner)
{
    const QSize view(400, 300);
    for (const bool moving : {false, true}) {
        Player player;
        ASSERT_TRUE(player.loadBytes(stageWithSquare(moving)));
        player.tick();
        EXPECT_EQ(player.takeChangedRegion(view).boundingRect(), QRect(QPoint(0, 0), view)) << "the first look is everything";
        for (int tick = 0; tick < 5; ++tick) {
            player.tick();
            const QRegion changed = player.takeChangedRegion(view);
            if (!moving) {
                EXPECT_TRUE(changed.isEmpty()) << "tick " << tick;
                continue;
            }
            // The square's old and new places, with a little room for antialiased edges.
            const QRect bounds = changed.boundingRect();
            EXPECT_FALSE(bounds.isEmpty());
            EXPECT_LE(bounds.width(), 18) << "tick " << tick;
            EXPECT_LE(bounds.height(), 16) << "tick " << tick;
        }
    }
}

// A script that replaces its clip with an equal one on every frame, as timelines
// that remove and place again on each loop do: nothing on screen changes.
TEST(ChangedRegion, AnEqualObjectPlacedAgainAtTheSameDepthChangesNothing)
{
    swfw::SwfWriter w(8, 400, 300, 12);
    const uint16_t square = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0xff0000)).rect(0, 0, 10, 10));
    swfw::Timeline box(8);
    box.place(1, square).showFrame();
    w.exportAssets({{w.defineSprite(box), "square"}});
    w.actions(swfw::compileActionScript("var made = 0;"
                                        "onEnterFrame = function() { attachMovie('square', 's' + made++, 5, {_x: 50}); };"));
    w.showFrame();
    Player player;
    ASSERT_TRUE(player.loadBytes(w.finish()));
    const QSize view(400, 300);
    player.tick();
    player.tick();
    (void)player.takeChangedRegion(view);
    for (int tick = 0; tick < 3; ++tick) {
        player.tick();
        EXPECT_TRUE(player.takeChangedRegion(view).isEmpty()) << "tick " << tick;
    }
}

} // namespace
} // namespace flash::test
