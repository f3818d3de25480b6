// The player facade: loading, the seven operations' engine side, drawing and the clock.
#include "TestMovies.h"

#include "flash/player/Player.h"

#include <gtest/gtest.h>

#include <random>

namespace flash::test {
namespace {

// A sprite with a stop on its second frame, placed twice, and a goto on the main timeline; not compressed,
// so that every cut and flipped byte lands in the tags themselves.
std::vector<uint8_t> spritesAndActionsMovie()
{
    swfw::SwfWriter writer(8, 200, 100, 24);
    const uint16_t box = writer.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0x336699)).rect(0, 0, 40, 40));
    swfw::Timeline sprite;
    sprite.place(1, box).showFrame();
    sprite.move(1, swfw::Matrix::translation(10, 0)).actions(swfw::Actions().stop()).showFrame();
    sprite.move(1, swfw::Matrix::translation(20, 0)).showFrame();
    const uint16_t clip = writer.defineSprite(sprite);
    writer.place(1, clip).showFrame();
    writer.place(2, clip, swfw::Matrix::translation(50, 50)).showFrame();
    writer.remove(1).actions(swfw::Actions().gotoFrame(0).play()).showFrame();
    return writer.finish(swfw::Compression::None);
}

class PlayerTest : public ::testing::Test {
protected:
    QImage frameImage() { return player.renderImage(QSize(200, 100)); }

    Player player;
};

TEST_F(PlayerTest, EveryOperationIsAcceptedWithoutAMovie)
{
    player.play();
    player.stop();
    player.gotoFrame(-20);
    player.gotoFrame(1050);
    player.advanceFrame();
    EXPECT_EQ(player.advanceDueFrames(), 0u);
    EXPECT_FALSE(player.hasMovie());
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.currentFrame(), 0);
    EXPECT_EQ(player.totalFrames(), 0);
    EXPECT_FALSE(frameImage().isNull());
}

TEST_F(PlayerTest, WhatIsNotAMovieLoadsAsNothing)
{
    const std::vector<uint8_t> text{'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(player.loadBytes(text));
    EXPECT_FALSE(player.loadError().empty());
    EXPECT_FALSE(player.loadFile("/nonexistent/movie.swf"));
    EXPECT_EQ(player.totalFrames(), 0);

    ASSERT_TRUE(player.loadBytes(colourFramesMovie()));
    EXPECT_FALSE(player.loadBytes(text)) << "a failed load drops the movie before it";
    EXPECT_FALSE(player.hasMovie());
    EXPECT_EQ(player.totalFrames(), 0);
}

TEST_F(PlayerTest, LoadedMoviePlaysFromTheFirstFrameWithItsRealFrameCount)
{
    ASSERT_TRUE(player.loadBytes(colourFramesMovie()));
    EXPECT_EQ(player.totalFrames(), int(kFrameColors.size())) << "not the header's 100";
    EXPECT_EQ(player.currentFrame(), 0);
    EXPECT_TRUE(player.isPlaying());
    EXPECT_EQ(player.stageSize(), QSize(200, 100));
    EXPECT_TRUE(hasColorAt(frameImage(), 100, 50, kFrameColors[0]));

    player.advanceFrame();
    player.advanceFrame();
    EXPECT_EQ(player.currentFrame(), 2);
    EXPECT_TRUE(hasColorAt(frameImage(), 100, 50, kFrameColors[2]));
}

TEST_F(PlayerTest, GotoShowsTheFrameAndClampsOutOfRangeNumbers)
{
    ASSERT_TRUE(player.loadBytes(colourFramesMovie()));
    player.gotoFrame(4);
    EXPECT_EQ(player.currentFrame(), 4);
    EXPECT_TRUE(hasColorAt(frameImage(), 10, 10, kFrameColors[4]));
    player.gotoFrame(1);
    EXPECT_TRUE(hasColorAt(frameImage(), 10, 10, kFrameColors[1]));
    player.gotoFrame(1050);
    EXPECT_EQ(player.currentFrame(), int(kFrameColors.size()) - 1);
    player.gotoFrame(-20);
    EXPECT_EQ(player.currentFrame(), 0);
    EXPECT_TRUE(hasColorAt(frameImage(), 10, 10, kFrameColors[0]));
}

TEST_F(PlayerTest, AStopActionHaltsPlayingAndPlayResumes)
{
    ASSERT_TRUE(player.loadBytes(colourFramesMovie(2)));
    for (int i = 0; i < 10; ++i)
        player.advanceFrame();
    EXPECT_EQ(player.currentFrame(), 2);
    EXPECT_FALSE(player.isPlaying());
    player.play();
    player.advanceFrame();
    EXPECT_EQ(player.currentFrame(), 3);
    EXPECT_TRUE(player.isPlaying());
}

TEST_F(PlayerTest, TheMovieLoopsAtItsEnd)
{
    ASSERT_TRUE(player.loadBytes(colourFramesMovie()));
    for (size_t i = 0; i < kFrameColors.size(); ++i)
        player.advanceFrame();
    EXPECT_EQ(player.currentFrame(), 0);
    EXPECT_TRUE(player.isPlaying());
}

TEST_F(PlayerTest, DrawingScalesTheStageToShowAllAndFillsTheRestWithTheBackground)
{
    swfw::SwfWriter writer(8, 200, 100, 12);
    writer.background(swfw::Color::rgb(0x102030));
    writer.place(1, writer.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0xff0000)).rect(0, 0, 200, 100)));
    writer.showFrame();
    ASSERT_TRUE(player.loadBytes(writer.finish()));
    // A square view: the stage takes the full width and the middle half of the height.
    const QImage image = player.renderImage(QSize(200, 200));
    EXPECT_TRUE(hasColorAt(image, 100, 100, 0xff0000));
    EXPECT_TRUE(hasColorAt(image, 100, 20, 0x102030));
    EXPECT_TRUE(hasColorAt(image, 100, 180, 0x102030));
}

TEST_F(PlayerTest, TruncatedAndDamagedMoviesNeverBreakPlaying)
{
    const std::vector<uint8_t> intact = spritesAndActionsMovie();
    ASSERT_TRUE(player.loadBytes(intact));
    EXPECT_EQ(player.totalFrames(), 3);
    auto exercise = [this](const std::vector<uint8_t>& bytes) {
        if (player.loadBytes(bytes)) {
            for (int i = 0; i < 4; ++i)
                player.advanceFrame();
            player.gotoFrame(1);
            EXPECT_FALSE(frameImage().isNull());
        }
        EXPECT_LE(player.currentFrame(), std::max(player.totalFrames() - 1, 0));
    };
    for (size_t length = 0; length <= intact.size(); ++length)
        exercise(std::vector<uint8_t>(intact.begin(), intact.begin() + std::ptrdiff_t(length)));
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> damaged = intact;
        for (int flips = 0; flips < 3; ++flips)
            damaged[8 + random() % (damaged.size() - 8)] ^= uint8_t(1 + random() % 255);
        exercise(damaged);
    }
}

// Frames fall due by a clock that the test moves.
class FakeTime final : public TimeSource {
public:
    std::chrono::nanoseconds now() const override { return time; }
    std::chrono::nanoseconds time{0};
};

TEST_F(PlayerTest, TheClockAdvancesTheMovieByEveryDueFrame)
{
    ASSERT_TRUE(player.loadBytes(colourFramesMovie(std::nullopt, 10)));
    FakeTime time;
    player.clock().setTimeSource(&time);
    EXPECT_EQ(player.clock().frameRate(), 10);
    time.time += std::chrono::milliseconds(350);
    EXPECT_EQ(player.advanceDueFrames(), 3u);
    EXPECT_EQ(player.currentFrame(), 3);
    player.clock().setTimeSource(nullptr);
}

TEST_F(PlayerTest, AFrameRateOfZeroGetsTheDefault)
{
    ASSERT_TRUE(player.loadBytes(colourFramesMovie(std::nullopt, 0)));
    EXPECT_EQ(player.clock().frameRate(), FrameClock::kDefaultRate);
}

} // namespace
} // namespace flash::test
