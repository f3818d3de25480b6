// Buttons on stage: what their shown state holds is placed as objects of its
// own, whose sprites play like any other, within the nesting and instance bounds.
#include "MovieFixture.h"


#include <gtest/gtest.h>

namespace flash::test {
namespace {

// Three frames, looping: its shape moves 10 to the right on each.
TimelineWriter walking()
{
    TimelineWriter sprite;
    sprite.place(1, 1, 0).showFrame().move(1, 10).showFrame().move(1, 20).showFrame();
    return sprite;
}

TEST(ButtonTimeline, TheUpStateIsPlacedAndItsSpritesAdvanceEveryFrame)
{
    TimelineWriter main;
    main.place(1, 20).showFrame().showFrame();
    StageDriver player(MovieWriter().shape(1).shape(2).sprite(10, walking()).button(20, {10, 2}).finish(main));
    player.restart();
    EXPECT_EQ(describe(player.displayList()), "[1:20 x0 b[1:10 x0 f0[1:1 x0]][2:2 x0]]");
    player.advance();
    EXPECT_EQ(describe(player.displayList()), "[1:20 x0 b[1:10 x0 f1[1:1 x10]][2:2 x0]]");
    player.advance(); // the movie loops, the button stays and its sprite goes on
    player.advance();
    EXPECT_EQ(describe(player.displayList()), "[1:20 x0 b[1:10 x0 f0[1:1 x0]][2:2 x0]]");
}

TEST(ButtonTimeline, OnlyRecordsOfTheShownStateArePlaced)
{
    TimelineWriter main;
    main.place(1, 21).showFrame();
    StageDriver player(MovieWriter().shape(2).button(21, {2}, ButtonRecord::Over | ButtonRecord::HitTest)
                              .finish(main));
    player.restart();
    EXPECT_EQ(describe(player.displayList()), "[1:21 x0 b]");
}

TEST(ButtonTimeline, ButtonsInsideSpritesAndSpritesInsideButtonsNest)
{
    TimelineWriter holder;
    holder.place(1, 20).showFrame().showFrame();
    TimelineWriter main;
    main.place(1, 30).showFrame();
    StageDriver player(MovieWriter().shape(1).sprite(10, walking()).button(20, {10}).sprite(30, holder)
                              .finish(main));
    player.restart();
    player.advance();
    player.advance();
    EXPECT_EQ(describe(player.displayList()), "[1:30 x0 f0[1:20 x0 b[1:10 x0 f2[1:1 x20]]]]");
}

TEST(ButtonTimeline, ReplacingTheButtonPlacesTheNewOnesState)
{
    TimelineWriter main;
    main.place(1, 20).showFrame();
    main.replace(1, 21).showFrame();
    StageDriver player(MovieWriter().shape(1).shape(2).sprite(10, walking()).button(20, {10}).button(21, {2})
                              .finish(main));
    player.restart();
    player.advance();
    EXPECT_EQ(describe(player.displayList()), "[1:21 x0 b[1:2 x0]]");
}

size_t countObjects(const DisplayList& list)
{
    size_t count = list.objects().size();
    for (const auto& [depth, object] : list.objects()) {
        if (const DisplayList* children = liveChildren(*object))
            count += countObjects(*children);
    }
    return count;
}

TEST(ButtonTimeline, AButtonShowingItselfIsBounded)
{
    TimelineWriter main;
    main.place(1, 20).showFrame().showFrame();
    {
        // Once in its own state: a chain as deep as the nesting bound.
        StageDriver player(MovieWriter().shape(1).button(20, {20, 1}).finish(main));
        player.restart();
        player.advance();
        player.gotoFrame(0);
        const size_t count = countObjects(player.displayList());
        EXPECT_GT(count, 10u);
        EXPECT_LE(count, 2 * (Stage::kMaxNesting + 2));
    }
    {
        // Twice: doubling on every level, stopped by the bound on instances.
        StageDriver player(MovieWriter().button(20, {20, 20}).finish(main));
        player.restart();
        for (int i = 0; i < 3; ++i)
            player.advance();
        EXPECT_LE(countObjects(player.displayList()), size_t(Stage::kMaxLiveObjects));
    }
}

} // namespace
} // namespace flash::test
