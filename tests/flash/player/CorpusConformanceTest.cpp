// Every movie of the shared corpus loads, plays through all its frames, goes to
// frames and draws a sample of them, without crashing or hanging.

#include "flash/player/Player.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>

namespace flash::test {
namespace {

namespace fs = std::filesystem;

// A movie that takes longer than this is taken to hang (the bound is generous
// enough for sanitizer builds; it is not a speed check).
constexpr auto kPerMovieBound = std::chrono::minutes(3);
constexpr int kSampleEvery = 10;
const QSize kSampleSize(234, 168);

// Ends the whole test program, naming the movie, when one movie runs past the bound.
class Watchdog {
public:
    Watchdog() : m_thread([this] { watch(); }) { }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    void startMovie(const std::string& name)
    {
        std::lock_guard lock(m_mutex);
        m_current = name;
        m_started = std::chrono::steady_clock::now();
    }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        while (!m_done) {
            m_wake.wait_for(lock, std::chrono::seconds(1));
            if (!m_current.empty() && std::chrono::steady_clock::now() - m_started > kPerMovieBound) {
                std::fprintf(stderr, "HANG: %s did not finish within the bound\n", m_current.c_str());
                std::fflush(stderr);
                std::_Exit(1);
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_current;
    std::chrono::steady_clock::time_point m_started;
    bool m_done = false;
    std::thread m_thread;
};

std::vector<fs::path> corpusMovies()
{
    std::vector<fs::path> movies;
    const fs::path root = fs::path(VF_CORPUS_DIR) / "files";
    std::error_code error;
    if (!fs::is_directory(root, error))
        return movies;
    for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".swf")
            movies.push_back(entry.path());
    }
    std::sort(movies.begin(), movies.end());
    return movies;
}

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
