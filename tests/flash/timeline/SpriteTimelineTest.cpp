// Playing: the main timeline's frames, looping, and sprites with timelines of their own.
#include "MovieFixture.h"


#include <gtest/gtest.h>

namespace flash::test {
namespace {

// A sprite whose shape at depth 1 sits at x = 10 * its frame, over `frames` frames.
TimelineWriter walkingSprite(uint16_t shapeId, int frames)
{
    TimelineWriter sprite;
    sprite.place(1, shapeId, 0).showFrame();
    for (int frame = 1; frame < frames; ++frame)
        sprite.move(1, 10.0 * frame).showFrame();
    return sprite;
}

const DisplayObject& objectAt(const StageDriver& player, uint16_t depth)
{
    const DisplayObject* object = player.displayList().at(depth);
    if (!object)
        throw std::runtime_error("nothing at depth " + std::to_string(depth));
    return *object;
}

TEST(MainTimeline, FramesApplyInOrderAndLoopBackToTheFirst)
{
    TimelineWriter main;
    main.place(1, 1, 0).showFrame();
    main.move(1, 50).place(2, 2, 7).showFrame();
    main.remove(1).showFrame();
    StageDriver player(MovieWriter().shape(1).shape(2).finish(main));
    player.restart();

    EXPECT_EQ(player.frameCount(), 3u);
    EXPECT_EQ(describe(player.displayList()), "[1:1 x0]");
    player.advance();
    EXPECT_EQ(player.currentFrame(), 1u);
    EXPECT_EQ(describe(player.displayList()), "[1:1 x50][2:2 x7]");
    player.advance();
    EXPECT_EQ(describe(player.displayList()), "[2:2 x7]");
    player.advance();
    EXPECT_EQ(player.currentFrame(), 0u) << "looping is on";
    EXPECT_EQ(describe(player.displayList()), "[1:1 x0]");
    EXPECT_TRUE(player.isPlaying());
}

TEST(MainTimeline, WithoutLoopingItHaltsOnTheLastFrame)
{
    TimelineWriter main;
    main.place(1, 1).showFrame().showFrame().showFrame();
    StageDriver player(MovieWriter().shape(1).finish(main));
    player.setLooping(false);
    player.restart();
    for (int i = 0; i < 5; ++i)
        player.advance();
    EXPECT_EQ(player.currentFrame(), 2u);
    EXPECT_FALSE(player.isPlaying());
}

TEST(MainTimeline, StoppedMovieStaysButItsSpritesKeepPlaying)
{
    TimelineWriter main;
    main.place(1, 10).showFrame().showFrame();
    StageDriver player(MovieWriter().shape(1).sprite(10, walkingSprite(1, 4)).finish(main));
    player.restart(false);
    player.advance();
    player.advance();
    EXPECT_EQ(player.currentFrame(), 0u);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(objectAt(player, 1).clip->currentFrame, 2u);
}

TEST(SpriteTimeline, StartsOnItsFirstFrameAndAdvancesOncePerMovieFrameLooping)
{
    TimelineWriter main;
    main.showFrame();
    main.place(1, 10).showFrame();
    for (int i = 0; i < 8; ++i)
        main.showFrame();
    StageDriver player(MovieWriter().shape(1).sprite(10, walkingSprite(1, 3)).finish(main));
    player.restart();
    EXPECT_TRUE(player.displayList().objects().empty());

    player.advance();
    EXPECT_EQ(describe(player.displayList()), "[1:10 x0 f0[1:1 x0]]") << "placed on its first frame";
    const std::vector<std::string> expected{"[1:10 x0 f1[1:1 x10]]", "[1:10 x0 f2[1:1 x20]]",
                                            "[1:10 x0 f0[1:1 x0]]", "[1:10 x0 f1[1:1 x10]]"};
    for (const std::string& state : expected) {
        player.advance();
        EXPECT_EQ(describe(player.displayList()), state);
    }
}

TEST(SpriteTimeline, NestedSpritesEachAdvanceOncePerFrame)
{
    TimelineWriter outer;
    outer.place(1, 10).showFrame().showFrame().showFrame().showFrame().showFrame();
    TimelineWriter main;
    main.place(1, 20).showFrame().showFrame().showFrame().showFrame();
    StageDriver player(MovieWriter().shape(1).sprite(10, walkingSprite(1, 3)).sprite(20, outer).finish(main));
    player.restart();
    player.advance();
    player.advance();
    EXPECT_EQ(describe(player.displayList()), "[1:20 x0 f2[1:10 x0 f2[1:1 x20]]]");
}

TEST(SpriteTimeline, InstancesOnStageThroughTheMovieLoopKeepPlaying)
{
    TimelineWriter main;
    main.place(1, 10).showFrame().showFrame();
    StageDriver player(MovieWriter().shape(1).sprite(10, walkingSprite(1, 5)).finish(main));
    player.restart();
    const ClipState* instance = objectAt(player, 1).clip.get();
    player.advance();
    player.advance(); // the movie loops here
    EXPECT_EQ(player.currentFrame(), 0u);
    EXPECT_EQ(objectAt(player, 1).clip.get(), instance) << "same placement, same instance";
    EXPECT_EQ(objectAt(player, 1).clip->currentFrame, 2u);
}

TEST(SpriteTimeline, ReplacingWithAnotherSpriteStartsAFreshInstance)
{
    TimelineWriter main;
    main.place(1, 10).showFrame().showFrame();
    main.replace(1, 11).showFrame().showFrame();
    StageDriver player(MovieWriter().shape(1).sprite(10, walkingSprite(1, 5)).sprite(11, walkingSprite(1, 5)).finish(main));
    player.restart();
    player.advance();
    player.advance();
    EXPECT_EQ(describe(player.displayList()), "[1:11 x0 f0[1:1 x0]]");
}

TEST(SpriteTimeline, ASpritePlacingItselfIsBoundedAndNeverHangs)
{
    TimelineWriter self;
    self.place(1, 10).place(2, 10).showFrame().showFrame();
    TimelineWriter main;
    main.place(1, 10).showFrame().showFrame();
    StageDriver player(MovieWriter().sprite(10, self).finish(main));
    player.restart();
    for (int i = 0; i < 4; ++i)
        player.advance();
    player.gotoFrame(0);
    SUCCEED();
}

size_t countSprites(const DisplayList& list)
{
    size_t count = 0;
    for (const auto& [depth, object] : list.objects()) {
        if (object->clip) {
            ++count;
            if (object->clip->children)
                count += countSprites(*object->clip->children);
        }
    }
    return count;
}

TEST(SpriteTimeline, SpritesThatMultiplyEveryFrameStopAtABound)
{
    // Every instance places a new copy of itself on each of its frames: doubling per frame.
    TimelineWriter self;
    for (uint16_t frame = 0; frame < 100; ++frame)
        self.place(uint16_t(frame + 1), 10).showFrame();
    TimelineWriter main;
    main.place(1, 10).showFrame().showFrame();
    StageDriver player(MovieWriter().sprite(10, self).finish(main));
    player.restart();
    for (int i = 0; i < 24; ++i)
        player.advance();
    EXPECT_LE(countSprites(player.displayList()), 50'000u);
    EXPECT_GT(countSprites(player.displayList()), 1000u) << "bounded, not stopped early";
}

TEST(SpriteTimeline, AMovieWithNothingLoadedAcceptsEveryOperation)
{
    StageDriver player(nullptr);
    player.restart();
    player.advance();
    player.gotoFrame(-3);
    player.gotoFrame(1'000'000);
    player.play();
    player.stop();
    EXPECT_EQ(player.frameCount(), 0u);
    EXPECT_EQ(player.currentFrame(), 0u);
    EXPECT_TRUE(player.displayList().objects().empty());
}

} // namespace
} // namespace flash::test
