// The goto rules: forwards the skipped frames' display tags apply in order; backwards the
// objects the target frame still holds stay as they are; scripts' objects are left alone.
#include "MovieFixture.h"


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
    StageDriver player(movie);
    for (int i = 0; i < frame; ++i)
        player.advance();
    EXPECT_EQ(player.currentFrame(), uint32_t(frame));
    return describePlacements(player.displayList());
}

TEST(Goto, ForwardAppliesTheSkippedFramesInOrder)
{
    const auto movie = busyMovie();
    ASSERT_EQ(movie->timeline.frames.size(), size_t(kFrames));
    for (int start = 0; start < kFrames; ++start) {
        for (int target = start; target < kFrames; ++target) {
            StageDriver player(movie);
            for (int i = 0; i < start; ++i)
                player.advance();
            player.gotoFrame(target);
            EXPECT_EQ(player.currentFrame(), uint32_t(target));
            EXPECT_EQ(describePlacements(player.displayList()), playedTo(movie, target)) << start << " -> " << target;
        }
    }
}

TEST(Goto, ClipsPlacedByAGotoStartAtTheirFirstFrameAndOthersDoNotAdvance)
{
    StageDriver player(busyMovie());
    player.advance();
    player.advance(); // frame 2: the walking clip at depth 1 shows its frame 2
    const DisplayObject* walking = player.displayList().at(1);
    ASSERT_EQ(walking->clip->currentFrame, 2u);
    player.gotoFrame(5);
    EXPECT_EQ(player.displayList().at(3)->clip->currentFrame, 0u) << "placed on a skipped frame";
    EXPECT_EQ(player.displayList().at(6)->clip, nullptr) << "a button";
    EXPECT_EQ(player.displayList().at(1)->clip->currentFrame, 0u) << "depth 1 was removed on frame 4 and placed anew";
}

TEST(Goto, BackwardsKeepsTheSameObjectsWithWhatScriptsSetAndPlacesTheRestAnew)
{
    StageDriver player(busyMovie());
    for (int i = 0; i < kFrames - 1; ++i)
        player.advance();
    DisplayObject* walking = player.displayList().at(1); // placed on frame 5
    const uint64_t walkingId = walking->id;
    const uint32_t walkingFrame = walking->clip->currentFrame;
    walking->matrix.tx = 777;
    walking->scriptLocks = LockMatrix;
    const uint64_t buttonId = player.displayList().at(6)->id;
    const uint64_t laterHalted = player.displayList().at(3)->id; // placed on frame 8

    player.gotoFrame(9);
    ASSERT_NE(player.displayList().at(1), nullptr);
    EXPECT_EQ(player.displayList().at(1)->id, walkingId) << "placed on frame 5, still there on 9";
    EXPECT_EQ(player.displayList().at(1)->clip->currentFrame, walkingFrame) << "its own timeline is left alone";
    EXPECT_EQ(player.displayList().at(1)->matrix.tx, 777) << "a property a script set stays";
    EXPECT_EQ(player.displayList().at(6)->id, buttonId);

    player.gotoFrame(6);
    ASSERT_NE(player.displayList().at(3), nullptr);
    EXPECT_NE(player.displayList().at(3)->id, laterHalted) << "frame 6 holds the placement of frame 2";
    EXPECT_EQ(player.displayList().at(3)->matrix.tx, 0);
    EXPECT_EQ(player.displayList().at(3)->clip->currentFrame, 0u) << "a clip placed anew starts at its first frame";
    EXPECT_EQ(describePlacements(player.displayList()), "[1:10 x777][2:2 x15][3:12 x0][4:13 x0][6:15 x0]");
}

TEST(Goto, ObjectsMadeByScriptsAreNeverTouchedByTheTimeline)
{
    StageDriver player(busyMovie());
    Stage& stage = player.stage();
    DisplayObject* above = stage.attach(stage.root(), 10, kScriptDepthBase + 5, "above");
    DisplayObject* onTimelineDepth = stage.attach(stage.root(), 1, 3, "squatter");
    ASSERT_TRUE(above && onTimelineDepth);
    const uint64_t aboveId = above->id, squatterId = onTimelineDepth->id;
    for (int i = 0; i < kFrames - 1; ++i)
        player.advance();
    player.gotoFrame(0);
    player.gotoFrame(7);
    ASSERT_NE(player.displayList().at(kScriptDepthBase + 5), nullptr);
    EXPECT_EQ(player.displayList().at(kScriptDepthBase + 5)->id, aboveId);
    ASSERT_NE(player.displayList().at(3), nullptr);
    EXPECT_EQ(player.displayList().at(3)->id, squatterId) << "frames 2, 7 and 8 place and remove depth 3 around it";
    EXPECT_EQ(stage.find(ObjectHandle{aboveId}), player.displayList().at(kScriptDepthBase + 5));

    stage.remove(*player.displayList().at(kScriptDepthBase + 5));
    EXPECT_EQ(stage.find(ObjectHandle{aboveId}), nullptr) << "a removed clip resolves to nothing";
}

TEST(Goto, OutOfRangeFramesShowTheNearestFrame)
{
    const auto movie = busyMovie();
    StageDriver player(movie);
    player.restart();
    player.gotoFrame(1'000'000);
    EXPECT_EQ(player.currentFrame(), uint32_t(kFrames - 1));
    EXPECT_EQ(describePlacements(player.displayList()), playedTo(movie, kFrames - 1));
    player.gotoFrame(-20);
    EXPECT_EQ(player.currentFrame(), 0u);
    EXPECT_EQ(describePlacements(player.displayList()), playedTo(movie, 0));
}

TEST(Goto, LeavesThePlayingStateAlone)
{
    StageDriver player(busyMovie());
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
