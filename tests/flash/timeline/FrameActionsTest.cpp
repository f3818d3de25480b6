// Frame actions on the main timeline and in sprites, and who gets to run them.
#include "MovieFixture.h"


#include <gtest/gtest.h>

namespace flash::test {
namespace {

StageDriver started(std::shared_ptr<const Movie> movie)
{
    StageDriver player(std::move(movie));
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
    StageDriver player = started(MovieWriter().shape(1).finish(main));
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
    StageDriver player = started(MovieWriter().finish(main));
    EXPECT_FALSE(player.isPlaying());
    player.advance();
    EXPECT_EQ(player.currentFrame(), 0u);
}

TEST(FrameActions, GotoFrameStopsThereAndGotoAndPlayGoesOn)
{
    TimelineWriter stops = emptyFrames(1);
    stops.actions(actions::gotoFrame(4)).showFrame().showFrame().showFrame().showFrame().showFrame().showFrame();
    StageDriver halted = started(MovieWriter().finish(stops));
    halted.advance();
    EXPECT_EQ(halted.currentFrame(), 4u);
    EXPECT_FALSE(halted.isPlaying());

    TimelineWriter plays = emptyFrames(1);
    plays.actions(actions::gotoAndPlay(4)).showFrame().showFrame().showFrame().showFrame().showFrame().showFrame();
    StageDriver running = started(MovieWriter().finish(plays));
    running.advance();
    running.advance();
    EXPECT_EQ(running.currentFrame(), 5u);
    EXPECT_TRUE(running.isPlaying());
}

TEST(FrameActions, GotoLabelFindsTheLabelWhateverItsCase)
{
    TimelineWriter main;
    main.actions(actions::gotoLabel("the END")).showFrame().showFrame().label("The End").showFrame().showFrame();
    StageDriver player = started(MovieWriter().finish(main));
    EXPECT_EQ(player.currentFrame(), 2u);
    EXPECT_FALSE(player.isPlaying());

    TimelineWriter missing;
    missing.actions(actions::gotoLabel("nowhere")).showFrame().showFrame();
    StageDriver unchanged = started(MovieWriter().finish(missing));
    EXPECT_EQ(unchanged.currentFrame(), 0u);
    EXPECT_TRUE(unchanged.isPlaying()) << "an unknown label changes nothing";
}

TEST(FrameActions, NextAndPreviousFrameStepAndStop)
{
    TimelineWriter main = emptyFrames(2);
    main.actions(actions::nextFrame()).showFrame().showFrame().showFrame();
    StageDriver player = started(MovieWriter().finish(main));
    player.advance();
    player.advance();
    EXPECT_EQ(player.currentFrame(), 3u);
    EXPECT_FALSE(player.isPlaying());

    TimelineWriter back = emptyFrames(2);
    back.actions(actions::previousFrame()).showFrame().showFrame();
    StageDriver backwards = started(MovieWriter().finish(back));
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
    StageDriver player = started(MovieWriter().shape(1).finish(main));
    player.advance();
    EXPECT_EQ(player.currentFrame(), 0u);
    EXPECT_EQ(player.displayList().at(1), nullptr);
}

TEST(FrameActions, GotoChainsThatNeverSettleAreCutShort)
{
    TimelineWriter main;
    main.actions(actions::gotoAndPlay(1)).showFrame().actions(actions::gotoAndPlay(0)).showFrame();
    StageDriver player = started(MovieWriter().finish(main));
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
    StageDriver player = started(MovieWriter().sprite(10, sprite).finish(main));
    for (int i = 0; i < 3; ++i)
        player.advance();
    EXPECT_EQ(player.currentFrame(), 3u);
    EXPECT_TRUE(player.isPlaying());
    const ClipState& state = *player.displayList().at(1)->clip;
    EXPECT_EQ(state.currentFrame, 1u);
    EXPECT_FALSE(state.playing);
}

TEST(FrameActions, SpriteGotoLabelUsesTheSpritesOwnLabels)
{
    TimelineWriter sprite;
    sprite.actions(actions::gotoLabel("rest")).showFrame().showFrame().label("rest").showFrame();
    TimelineWriter main;
    main.place(1, 10).showFrame().label("rest").showFrame();
    StageDriver player = started(MovieWriter().sprite(10, sprite).finish(main));
    EXPECT_EQ(player.displayList().at(1)->clip->currentFrame, 2u);
    EXPECT_EQ(player.currentFrame(), 0u);
}

TEST(FrameActions, SkippedFramesOfAGotoRunNoActionsButTheTargetsDo)
{
    TimelineWriter main = emptyFrames(2);
    main.actions(actions::stop()).showFrame().showFrame().actions(actions::stop()).showFrame().showFrame();
    StageDriver player = started(MovieWriter().finish(main));
    player.gotoFrame(3);
    EXPECT_TRUE(player.isPlaying()) << "frame 2's stop was skipped";
    player.gotoFrame(4);
    EXPECT_FALSE(player.isPlaying()) << "frame 4's stop ran";
}

// Records the work the stage hands out, in order: what and for whom.
class RecordingScripts final : public StageScripts {
public:
    void runInitActions(Stage&, DisplayObject& owner, const DoAction& action) override
    {
        calls.push_back("init" + std::to_string(action.actions.at(0)) + "@" + std::to_string(owner.characterId));
    }
    void constructClip(Stage&, DisplayObject& clip) override { calls.push_back("new" + std::to_string(clip.characterId)); }
    void runFrameActions(Stage&, DisplayObject& clip, const DoAction& action) override
    {
        calls.push_back("do" + std::to_string(action.actions.at(0)) + "@" + std::to_string(clip.characterId));
    }
    void clipEvent(Stage&, DisplayObject& clip, ClipEvent event) override
    {
        if (event == ClipEvent::EnterFrame)
            calls.push_back("enter@" + std::to_string(clip.characterId));
    }
    std::vector<std::string> calls;
};

TEST(FrameActions, TheStageHandsOutInitThenConstructionThenFrameActionsParentsFirst)
{
    TimelineWriter inner;
    inner.actions({3, 0}).showFrame().showFrame();
    TimelineWriter outer;
    outer.place(1, 11).actions({2, 0}).showFrame().showFrame();
    TimelineWriter main;
    main.place(1, 10).actions({1, 0}).add(DoAction{{9, 0}, uint16_t(10)}).showFrame().showFrame();
    Stage stage(MovieWriter().sprite(11, inner).sprite(10, outer).finish(main));
    RecordingScripts scripts;
    stage.runPendingWork(scripts);
    const std::vector<std::string> first{"init9@0", "new10", "new11", "do1@0", "do2@10", "do3@11"};
    EXPECT_EQ(scripts.calls, first);

    scripts.calls.clear();
    stage.advance();
    stage.runPendingWork(scripts);
    stage.dispatchEnterFrame(scripts);
    const std::vector<std::string> second{"enter@0", "enter@10", "enter@11"};
    EXPECT_EQ(scripts.calls, second) << "frame 2 has no actions, and init actions run once";
}

} // namespace
} // namespace flash::test
