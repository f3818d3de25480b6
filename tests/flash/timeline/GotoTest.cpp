// Going to a frame shows what playing up to it shows, forwards and backwards.
#include "MovieFixture.h"

#include "flash/model/TimelinePlayer.h"

#include <gtest/gtest.h>

namespace flash::test {
namespace {

constexpr int kFrames = 12;

std::shared_ptr<const Movie> busyMovie()
{
    TimelineWriter walking; // three frames, looping
    walking.place(1, 1, 0).showFrame().move(1, 10).showFrame().move(1, 20).showFrame();
    TimelineWriter haltsOnThird;
    haltsOnThird.place(1, 1).showFrame().move(1, 5).showFrame().move(1, 9).actions(actions::stop()).showFrame();
    haltsOnThird.move(1, 13).showFrame();
    TimelineWriter haltsAtOnce;
    haltsAtOnce.place(1, 2).actions(actions::stop()).showFrame().move(1, 40).showFrame();
    TimelineWriter holdsWalking; // a sprite inside a sprite
    holdsWalking.showFrame().place(1, 10).showFrame().showFrame().showFrame().showFrame();

    TimelineWriter main;
    main.place(1, 10).showFrame();
    main.place(2, 1, 5).place(5, 14).showFrame();
    main.place(3, 12).showFrame();
    main.move(2, 15).showFrame();
    main.place(4, 13).remove(1).remove(5).showFrame();
    main.place(1, 10, 3).place(6, 15).showFrame();
    main.replace(2, 2).showFrame();
    main.remove(3).showFrame();
    main.place(3, 12, 1).showFrame();
    main.showFrame().showFrame().showFrame();
    return MovieWriter()
        .shape(1)
        .shape(2)
        .sprite(10, walking)
        .sprite(12, haltsOnThird)
        .sprite(13, haltsAtOnce)
        .sprite(14, holdsWalking)
        .button(15, {10, 1, 14}) // sprites playing inside a button
        .finish(main);
}

std::string playedTo(const std::shared_ptr<const Movie>& movie, int frame)
{
    TimelinePlayer player(movie);
    player.restart();
    for (int i = 0; i < frame; ++i)
        player.advance();
    EXPECT_EQ(player.currentFrame(), uint32_t(frame));
    return describe(player.displayList());
}

TEST(Goto, ForwardFromTheStartEqualsPlaying)
{
    const auto movie = busyMovie();
    ASSERT_EQ(movie->timeline.frames.size(), size_t(kFrames));
    for (int target = 0; target < kFrames; ++target) {
        TimelinePlayer player(movie);
        player.restart();
        player.gotoFrame(target);
        EXPECT_EQ(player.currentFrame(), uint32_t(target));
        EXPECT_EQ(describe(player.displayList()), playedTo(movie, target)) << "frame " << target;
    }
}

TEST(Goto, ForwardFromAnyFrameEqualsPlaying)
{
    const auto movie = busyMovie();
    for (int start = 0; start < kFrames; ++start) {
        for (int target = start; target < kFrames; ++target) {
            TimelinePlayer player(movie);
            player.restart();
            for (int i = 0; i < start; ++i)
                player.advance();
            player.gotoFrame(target);
            EXPECT_EQ(describe(player.displayList()), playedTo(movie, target)) << start << " -> " << target;
        }
    }
}

TEST(Goto, BackwardsToBeforeEverythingNowOnStageEqualsPlaying)
{
    const auto movie = busyMovie();
    // Everything on stage at the last frame was placed on frame 4 or later.
    for (int target = 0; target < 4; ++target) {
        TimelinePlayer player(movie);
        player.restart();
        for (int i = 0; i < kFrames - 1; ++i)
            player.advance();
        player.gotoFrame(target);
        EXPECT_EQ(player.currentFrame(), uint32_t(target));
        EXPECT_EQ(describe(player.displayList()), playedTo(movie, target)) << "frame " << target;
    }
}

TEST(Goto, BackwardsKeepsSpriteInstancesPlacedOnTheSameFrame)
{
    TimelinePlayer player(busyMovie());
    player.restart();
    for (int i = 0; i < kFrames - 1; ++i)
        player.advance();
    const SpriteState* walking = player.displayList().at(1)->sprite.get();
    const uint32_t walkingFrame = walking->currentFrame;
    const SpriteState* halted = player.displayList().at(3)->sprite.get();
    const DisplayList* buttonShows = player.displayList().at(6)->buttonChildren.get();

    player.gotoFrame(9);
    ASSERT_NE(player.displayList().at(1), nullptr);
    EXPECT_EQ(player.displayList().at(1)->sprite.get(), walking) << "placed on frame 5, still there on 9";
    EXPECT_EQ(walking->currentFrame, walkingFrame) << "its own timeline goes on from where it was";
    EXPECT_EQ(player.displayList().at(3)->sprite.get(), halted);
    EXPECT_EQ(player.displayList().at(6)->buttonChildren.get(), buttonShows) << "the button's sprites go on too";

    player.gotoFrame(6);
    ASSERT_NE(player.displayList().at(3), nullptr);
    // Depth 3 now holds the instance placed on frame 2 (at x 0, not the later one at x 1), replayed to its stop.
    EXPECT_NE(describe(player.displayList()).find("[3:12 x0 f2 stopped[1:1 x9]]"), std::string::npos)
        << describe(player.displayList());
}

TEST(Goto, OutOfRangeFramesShowTheNearestFrame)
{
    const auto movie = busyMovie();
    TimelinePlayer player(movie);
    player.restart();
    player.gotoFrame(1'000'000);
    EXPECT_EQ(player.currentFrame(), uint32_t(kFrames - 1));
    EXPECT_EQ(describe(player.displayList()), playedTo(movie, kFrames - 1));
    player.gotoFrame(-20);
    EXPECT_EQ(player.currentFrame(), 0u);
    EXPECT_EQ(describe(player.displayList()), playedTo(movie, 0));
}

TEST(Goto, LeavesThePlayingStateAlone)
{
    TimelinePlayer player(busyMovie());
    player.restart();
    player.gotoFrame(5);
    EXPECT_TRUE(player.isPlaying());
    player.stop();
    player.gotoFrame(2);
    EXPECT_FALSE(player.isPlaying());
    player.advance();
    EXPECT_EQ(player.currentFrame(), 2u);
}

} // namespace
} // namespace flash::test
