// The demonstration movies shipped with a build load cleanly, play through
// and loop as they were written to, and sound where their pictures say.
#include "DemoMovies.h"
#include "E2eSupport.h"

#include "flash/parse/MovieLoader.h"

#include <algorithm>
#include <cmath>
#include <sstream>

using namespace e2e;

TEST(DemoMoviesE2e, EachLoadsWithoutFaultsAndDrawsSomething)
{
    ensureApplication();
    for (const auto& demo : {demo::sunriseMovie(), demo::bitmapsAndMasksMovie(), demo::spritesMovie(), demo::tonesMovie()}) {
        SCOPED_TRACE(demo.fileName);
        const auto movie = flash::loadMovie(demo.bytes);
        ASSERT_TRUE(movie.has_value()) << movie.error().message;
        EXPECT_TRUE((*movie)->errors.empty()) << (*movie)->errors.front();
        EXPECT_EQ((*movie)->header.headerFrameCount, (*movie)->timeline.frames.size());

        PlayedMovie played(demo.bytes);
        ASSERT_TRUE(played.loaded());
        const QImage first = played.image();
        const QImage later = played.advance(30).image();
        EXPECT_NE(first, later) << "the movie animates";
        const QRgb background = first.pixel(0, 0);
        int painted = 0;
        for (int y = 0; y < later.height(); y += 8)
            for (int x = 0; x < later.width(); x += 8)
                painted += later.pixel(x, y) != background;
        EXPECT_GT(painted, 100) << "more than the background shows";
    }
}

TEST(DemoMoviesE2e, SpritesDemoLoopsBackToItsLabelAfterTheIntro)
{
    const auto demo = demo::spritesMovie();
    PlayedMovie played(demo.bytes);
    ASSERT_TRUE(played.loaded());
    const int total = played.player().totalFrames();
    ASSERT_EQ(total, 97);
    played.advance(total - 2);
    EXPECT_EQ(played.player().currentFrame(), total - 2);
    played.advance();
    EXPECT_EQ(played.player().currentFrame(), 24) << "the last frame jumps back to the label; the intro plays once";
    EXPECT_TRUE(played.player().isPlaying());
}

TEST(DemoMoviesE2e, ClockIsDrawnByItsScript)
{
    const auto demo = demo::clockMovie();
    PlayedMovie played(demo.bytes); // its first frame's script has run
    ASSERT_TRUE(played.loaded());
    const QImage image = played.image();
    int face = 0, red = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            const QColor c = QColor::fromRgb(image.pixel(x, y));
            face += c.red() > 230 && c.green() > 230 && c.blue() > 230 && c != QColor(0xf8, 0xf9, 0xfa);
            red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    }
    EXPECT_GT(face, 1000) << "the face the script filled";
    EXPECT_GT(red, 3) << "the second hand and its hub";
}

namespace {

constexpr size_t kSamplesPerFrame = 44100 / 12; // the mixer's rate over the tones demo's frame rate

// The left channel of the movie's sound over `ticks` ticks, pulled as `flashtool audio`
// pulls it: while a stream sets the pace, a tick lasts what its block holds.
std::vector<int16_t> mixedLeft(const std::vector<uint8_t>& bytes, int ticks)
{
    flash::PlayerSettings settings;
    settings.scriptClock = flash::ScriptClock::Ticks;
    flash::Player player(settings);
    EXPECT_TRUE(player.loadBytes(bytes));
    std::vector<int16_t> left, stereo;
    for (int tick = 0; tick < ticks; ++tick) {
        player.tick();
        const auto streamed = player.streamBacklog();
        const size_t frames = streamed && *streamed > 0 ? *streamed : kSamplesPerFrame;
        stereo.resize(frames * 2);
        player.mixAudio(stereo.data(), frames);
        for (size_t i = 0; i < frames; ++i)
            left.push_back(stereo[2 * i]);
    }
    return left;
}

// Where sounds start, in frames: 5 ms windows whose level leaps to three times
// the quietest of the three before, each at least 50 ms after the last found.
std::vector<double> onsetsInFrames(const std::vector<int16_t>& pcm)
{
    constexpr size_t kWindow = 220;
    std::vector<double> levels;
    for (size_t at = 0; at + kWindow <= pcm.size(); at += kWindow) {
        double sum = 0;
        for (size_t i = at; i < at + kWindow; ++i)
            sum += double(pcm[i]) * pcm[i];
        levels.push_back(std::sqrt(sum / kWindow));
    }
    std::vector<double> onsets;
    for (size_t i = 3, quietUntil = 0; i < levels.size(); ++i) {
        if (i < quietUntil || levels[i] < 3000 || levels[i] < 3 * std::min({levels[i - 1], levels[i - 2], levels[i - 3]}))
            continue;
        onsets.push_back(double(i * kWindow) / kSamplesPerFrame);
        quietUntil = i + 10;
    }
    return onsets;
}

} // namespace

TEST(DemoMoviesE2e, TonesDemoSoundsEachNoteOnItsFrameAndChimesAtTheEnd)
{
    const auto demo = demo::tonesMovie();
    const auto movie = flash::loadMovie(demo.bytes);
    ASSERT_TRUE(movie.has_value()) << movie.error().message;
    const int frames = int((*movie)->timeline.frames.size());

    // Half a second in, fourteen notes a beat (four frames) apart, the seventh and
    // the last held for two beats; then the chime, an event sound.
    std::vector<double> expected;
    for (int beat : {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 16})
        expected.push_back(6 + 4 * beat);
    const std::vector<int16_t> pcm = mixedLeft(demo.bytes, frames);
    // Blocks of uneven length add up to the frames' time; the resampler holds back a few samples.
    EXPECT_NEAR(double(pcm.size()), double(frames * kSamplesPerFrame), 44);
    const std::vector<double> onsets = onsetsInFrames(pcm);
    std::ostringstream found;
    for (double onset : onsets)
        found << onset << ' ';
    ASSERT_EQ(onsets.size(), expected.size()) << "onsets at frames " << found.str();
    for (size_t i = 0; i < onsets.size(); ++i)
        EXPECT_NEAR(onsets[i], expected[i], 0.5) << "onset " << i << " of " << found.str();
}
