// Frame actions on the main timeline and in sprites, and who gets to run them.
#include "MovieFixture.h"

#include "flash/model/TimelinePlayer.h"

#include <gtest/gtest.h>

namespace flash::test {
namespace {

TimelinePlayer started(std::shared_ptr<const Movie> movie)
{
    TimelinePlayer player(std::move(movie));
    player.restart();
    return player;
}

TimelineWriter emptyFrames(int count)
{
    TimelineWriter timeline;
    for (int i = 0; i < count; ++i)
        timeline.showFrame();
    return timeline;
}

TEST(FrameActions, StopHaltsTheMovieOnItsFrame)
{
    TimelineWriter main;
    main.place(1, 1).showFrame().showFrame().actions(actions::stop()).showFrame().showFrame();
    TimelinePlayer player = started(MovieWriter().shape(1).finish(main));
    for (int i = 0; i < 10; ++i)
        player.advance();
    EXPECT_EQ(player.currentFrame(), 2u);
    EXPECT_FALSE(player.isPlaying());

    player.play();
    player.advance();
    EXPECT_EQ(player.currentFrame(), 3u);
    EXPECT_TRUE(player.isPlaying());
}

TEST(FrameActions, FirstFrameActionsRunOnLoad)
{
    TimelineWriter main;
    main.actions(actions::stop()).showFrame().showFrame();
    TimelinePlayer player = started(MovieWriter().finish(main));
    EXPECT_FALSE(player.isPlaying());
    player.advance();
    EXPECT_EQ(player.currentFrame(), 0u);
}

TEST(FrameActions, GotoFrameStopsThereAndGotoAndPlayGoesOn)
{
    TimelineWriter stops = emptyFrames(1);
    stops.actions(actions::gotoFrame(4)).showFrame().showFrame().showFrame().showFrame().showFrame().showFrame();
    TimelinePlayer halted = started(MovieWriter().finish(stops));
    halted.advance();
    EXPECT_EQ(halted.currentFrame(), 4u);
    EXPECT_FALSE(halted.isPlaying());

    TimelineWriter plays = emptyFrames(1);
    plays.actions(actions::gotoAndPlay(4)).showFrame().showFrame().showFrame().showFrame().showFrame().showFrame();
    TimelinePlayer running = started(MovieWriter().finish(plays));
    running.advance();
    running.advance();
    EXPECT_EQ(running.currentFrame(), 5u);
    EXPECT_TRUE(running.isPlaying());
}

TEST(FrameActions, GotoLabelFindsTheLabelWhateverItsCase)
{
    TimelineWriter main;
    main.actions(actions::gotoLabel("the END")).showFrame().showFrame().label("The End").showFrame().showFrame();
    TimelinePlayer player = started(MovieWriter().finish(main));
    EXPECT_EQ(player.currentFrame(), 2u);
    EXPECT_FALSE(player.isPlaying());

    TimelineWriter missing;
    missing.actions(actions::gotoLabel("nowhere")).showFrame().showFrame();
    TimelinePlayer unchanged = started(MovieWriter().finish(missing));
    EXPECT_EQ(unchanged.currentFrame(), 0u);
    EXPECT_TRUE(unchanged.isPlaying()) << "an unknown label changes nothing";
}

TEST(FrameActions, NextAndPreviousFrameStepAndStop)
{
    TimelineWriter main = emptyFrames(2);
    main.actions(actions::nextFrame()).showFrame().showFrame().showFrame();
    TimelinePlayer player = started(MovieWriter().finish(main));
    player.advance();
    player.advance();
    EXPECT_EQ(player.currentFrame(), 3u);
    EXPECT_FALSE(player.isPlaying());

    TimelineWriter back = emptyFrames(2);
    back.actions(actions::previousFrame()).showFrame().showFrame();
    TimelinePlayer backwards = started(MovieWriter().finish(back));
    backwards.advance();
    backwards.advance();
    EXPECT_EQ(backwards.currentFrame(), 1u);
    EXPECT_FALSE(backwards.isPlaying());
}

TEST(FrameActions, ActionsRunAfterTheFramesDisplayChanges)
{
    // Frame 1 places an object, then its actions go back to frame 0, where the object is not.
    TimelineWriter main = emptyFrames(1);
    main.place(1, 1).actions(actions::gotoFrame(0)).showFrame().showFrame();
    TimelinePlayer player = started(MovieWriter().shape(1).finish(main));
    player.advance();
    EXPECT_EQ(player.currentFrame(), 0u);
    EXPECT_EQ(player.displayList().at(1), nullptr);
}

TEST(FrameActions, GotoChainsThatNeverSettleAreCutShort)
{
    TimelineWriter main;
    main.actions(actions::gotoAndPlay(1)).showFrame().actions(actions::gotoAndPlay(0)).showFrame();
    TimelinePlayer player = started(MovieWriter().finish(main));
    for (int i = 0; i < 5; ++i)
        player.advance();
    EXPECT_LT(player.currentFrame(), 2u);
}

TEST(FrameActions, SpriteActionsApplyToTheSpriteOnly)
{
    TimelineWriter sprite;
    sprite.showFrame().actions(actions::stop()).showFrame().showFrame();
    TimelineWriter main;
    main.place(1, 10).showFrame().showFrame().showFrame().showFrame().showFrame();
    TimelinePlayer player = started(MovieWriter().sprite(10, sprite).finish(main));
    for (int i = 0; i < 3; ++i)
        player.advance();
    EXPECT_EQ(player.currentFrame(), 3u);
    EXPECT_TRUE(player.isPlaying());
    const SpriteState& state = *player.displayList().at(1)->sprite;
    EXPECT_EQ(state.currentFrame, 1u);
    EXPECT_FALSE(state.playing);
}

TEST(FrameActions, SpriteGotoLabelUsesTheSpritesOwnLabels)
{
    TimelineWriter sprite;
    sprite.actions(actions::gotoLabel("rest")).showFrame().showFrame().label("rest").showFrame();
    TimelineWriter main;
    main.place(1, 10).showFrame().label("rest").showFrame();
    TimelinePlayer player = started(MovieWriter().sprite(10, sprite).finish(main));
    EXPECT_EQ(player.displayList().at(1)->sprite->currentFrame, 2u);
    EXPECT_EQ(player.currentFrame(), 0u);
}

TEST(FrameActions, SkippedFramesOfAGotoRunNoActionsButTheTargetsDo)
{
    TimelineWriter main = emptyFrames(2);
    main.actions(actions::stop()).showFrame().showFrame().actions(actions::stop()).showFrame().showFrame();
    TimelinePlayer player = started(MovieWriter().finish(main));
    player.gotoFrame(3);
    EXPECT_TRUE(player.isPlaying()) << "frame 2's stop was skipped";
    player.gotoFrame(4);
    EXPECT_FALSE(player.isPlaying()) << "frame 4's stop ran";
}

// Records which timeline hands which action block to the runner.
class RecordingRunner final : public ActionRunner {
public:
    void run(std::span<const uint8_t> actions, TimelineControl& owner) override
    {
        calls.push_back({actions.empty() ? 0 : actions[0], owner.frameCount()});
    }
    std::vector<std::pair<uint8_t, uint32_t>> calls;
};

TEST(FrameActions, AnotherRunnerReceivesEveryBlockInOrderWithItsOwner)
{
    TimelineWriter sprite;
    sprite.actions({0x42, 0x00}).showFrame().showFrame().showFrame();
    TimelineWriter main;
    main.actions({0x40, 0x00}).place(1, 10).actions({0x41, 0x00}).showFrame().showFrame();
    TimelinePlayer player(MovieWriter().sprite(10, sprite).finish(main));
    RecordingRunner runner;
    player.setActionRunner(&runner);
    player.restart();
    const std::vector<std::pair<uint8_t, uint32_t>> expected{{0x40, 2}, {0x41, 2}, {0x42, 3}};
    EXPECT_EQ(runner.calls, expected) << "the movie's blocks in order, then the sprite's";
}

} // namespace
} // namespace flash::test
