// Every movie of the shared corpus loads, plays through all its frames, goes to
// frames and draws a sample of them, without crashing or hanging.

#include "CorpusSupport.h"

#include "flash/player/Player.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>


namespace flash::test {
namespace {

constexpr int kSampleEvery = 10;
const QSize kSampleSize(234, 168);

void drawSample(Player& player, QImage& canvas)
{
    QPainter painter(&canvas);
    player.render(painter, kSampleSize);
}

void playThrough(const fs::path& movie, QImage& canvas)
{
    Player player;
    if (!player.loadFile(movie.string())) {
        EXPECT_EQ(player.totalFrames(), 0) << movie;
        return;
    }
    const int frames = player.totalFrames();
    EXPECT_GE(frames, 0) << movie;
    for (int frame = 0; frame < std::max(frames, 1); ++frame) {
        if (frame > 0)
            player.advanceFrame();
        if (frame % kSampleEvery == 0 || frame == frames - 1)
            drawSample(player, canvas);
        ASSERT_TRUE(player.hasMovie()) << movie << ": dropped on frame " << frame;
        ASSERT_LT(player.currentFrame(), std::max(frames, 1)) << movie;
    }
    // Going somewhere, backwards and out of range, then drawing.
    player.gotoFrame(frames / 2);
    player.gotoFrame(-1);
    EXPECT_EQ(player.currentFrame(), 0) << movie;
    player.gotoFrame(frames + 10);
    EXPECT_EQ(player.currentFrame(), std::max(frames - 1, 0)) << movie;
    drawSample(player, canvas);
}

TEST(CorpusConformance, EveryMoviePlaysThroughAndDraws)
{
    const std::vector<fs::path> movies = corpusMovies();
    if (movies.empty())
        GTEST_SKIP() << "no corpus at " << VF_CORPUS_DIR;
    QImage canvas(kSampleSize, QImage::Format_ARGB32_Premultiplied);
    Watchdog watchdog;
    for (const fs::path& movie : movies) {
        watchdog.startMovie(movie.string());
        playThrough(movie, canvas);
    }
}

} // namespace
} // namespace flash::test
