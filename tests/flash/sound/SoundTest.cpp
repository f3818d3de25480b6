// The mixed output of written movies: when event sounds start, how they loop
// and stop; a stream that ffmpeg wrote (MP3) sounding at its pitch; hostile
// sound data playing as silence.
#include "AsCompiler.h"
#include "SwfWriter.h"

#include "flash/player/Player.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

namespace flash::test {
namespace {

using Lines = std::vector<std::string>;
constexpr int kRate = 44100;
constexpr int kFps = 12;
constexpr size_t kTickFrames = kRate / kFps; // 3675: one frame interval of sound

namespace tagCode {
constexpr uint16_t DefineSound = 14, StartSound = 15, SoundStreamHead = 18, SoundStreamBlock = 19;
}

std::vector<uint8_t> littleEndian(uint32_t value, int bytes)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
    return out;
}

// DefineSound `id`: `flags` as stored (codec, rate, size, channels), then the data.
void defineSound(swfw::SwfWriter& w, uint16_t id, uint8_t flags, uint32_t sampleCount, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> body = littleEndian(id, 2);
    body.push_back(flags);
    const auto count = littleEndian(sampleCount, 4);
    body.insert(body.end(), count.begin(), count.end());
    body.insert(body.end(), data.begin(), data.end());
    w.timeline().appendTag(tagCode::DefineSound, body);
}

// `samples` 16-bit little-endian samples at the level 10000: a sound whose every sample is easy to check.
std::vector<uint8_t> constantLevel(int samples)
{
    std::vector<uint8_t> data;
    for (int i = 0; i < samples; ++i) {
        data.push_back(0x10);
        data.push_back(0x27);
    }
    return data;
}

void startSound(swfw::SwfWriter& w, uint16_t id, std::vector<uint8_t> info = {0})
{
    std::vector<uint8_t> body = littleEndian(id, 2);
    body.insert(body.end(), info.begin(), info.end());
    w.timeline().appendTag(tagCode::StartSound, body);
}

// Plays `ticks` ticks, mixing one frame interval of sound after each, as `flashtool audio` does.
std::vector<int16_t> mixedSound(const std::vector<uint8_t>& movie, int ticks)
{
    PlayerSettings settings;
    settings.scriptClock = ScriptClock::Ticks;
    Player player(settings);
    EXPECT_TRUE(player.loadBytes(movie));
    std::vector<int16_t> out;
    for (int tick = 0; tick < ticks; ++tick) {
        player.tick();
        out.resize(out.size() + kTickFrames * 2);
        player.mixAudio(out.data() + out.size() - kTickFrames * 2, kTickFrames);
    }
    return out;
}

// Left-channel sample at `frame`.
int16_t left(const std::vector<int16_t>& pcm, size_t frame)
{
    return frame * 2 < pcm.size() ? pcm[frame * 2] : 0;
}

TEST(Sound, AnEventSoundStartsWithItsFrameLoopsAndStops)
{
    // 2205 samples (50 ms) of a constant level, mono, 16-bit, 44 kHz, uncompressed little-endian.
    const std::vector<uint8_t> level = constantLevel(2205);
    swfw::SwfWriter w(8, 100, 100, kFps);
    defineSound(w, 500, 0x3E, 2205, level);
    w.showFrame();
    startSound(w, 500, {0x04, 2, 0}); // two loops
    w.showFrame();
    w.showFrame();
    startSound(w, 500);
    w.showFrame();
    startSound(w, 500, {0x20}); // stop it
    w.actions(swfw::compileActionScript("stop();")).showFrame();
    const std::vector<int16_t> pcm = mixedSound(w.finish(), 6);

    EXPECT_EQ(left(pcm, kTickFrames - 10), 0) << "silent before its frame";
    EXPECT_NEAR(left(pcm, kTickFrames + 5), 10000, 2);
    EXPECT_NEAR(left(pcm, kTickFrames + 4400), 10000, 2) << "the second loop";
    EXPECT_EQ(left(pcm, kTickFrames + 4420), 0);
    EXPECT_NEAR(pcm[(3 * kTickFrames + 100) * 2 + 1], 10000, 2) << "mono plays on both sides";
    EXPECT_EQ(left(pcm, 4 * kTickFrames + 10), 0) << "stopped by the next frame";
}

// Collects the trace lines of a run while mixing as mixedSound does.
TEST(Sound, ASoundObjectPlaysItsLinkedSoundAtItsVolumeAndHearsItsEnd)
{
    const std::vector<uint8_t> level = constantLevel(4410);
    swfw::SwfWriter w(8, 100, 100, kFps);
    defineSound(w, 500, 0x3E, 4410, level);
    w.exportAssets({{500, "tone"}});
    w.actions(swfw::compileActionScript(R"(
        var s = new Sound();
        s.attachSound("tone");
        s.onSoundComplete = function() { trace("complete at " + s.position); };
        s.setVolume(50);
        trace(s.duration + " " + s.getVolume() + " " + s.getPan());
        s.start(0, 2);
        stop();
    )")).showFrame();
    Lines traces;
    PlayerSettings settings;
    settings.scriptClock = ScriptClock::Ticks;
    settings.scriptOutput.trace = [&traces](std::string_view line) { traces.emplace_back(line); };
    Player player(settings);
    ASSERT_TRUE(player.loadBytes(w.finish()));
    std::vector<int16_t> pcm;
    for (int tick = 0; tick < 4; ++tick) {
        player.tick();
        pcm.resize(pcm.size() + kTickFrames * 2);
        player.mixAudio(pcm.data() + pcm.size() - kTickFrames * 2, kTickFrames);
    }
    EXPECT_NEAR(left(pcm, 100), 5000, 2) << "at half volume";
    EXPECT_NEAR(left(pcm, 8000), 5000, 2) << "the second loop";
    EXPECT_EQ(left(pcm, 9000), 0);
    EXPECT_EQ(traces, (Lines{"100 50 0", "complete at 100"}));
}

TEST(Sound, AClipsVolumeTurnsDownTheSoundsOfItsTimelineAndItsChildren)
{
    const std::vector<uint8_t> level = constantLevel(2205);
    swfw::SwfWriter w(8, 100, 100, kFps);
    defineSound(w, 500, 0x3E, 2205, level);
    swfw::Timeline inner(8);
    std::vector<uint8_t> start = littleEndian(500, 2);
    start.push_back(0);
    inner.appendTag(tagCode::StartSound, start);
    inner.actions(swfw::compileActionScript("stop();")).showFrame();
    w.place(swfw::Placement{.depth = 1, .characterId = w.defineSprite(inner), .name = "child"});
    w.actions(swfw::compileActionScript("var s = new Sound(this); s.setVolume(50); s.setPan(-100); stop();")).showFrame();
    const std::vector<int16_t> pcm = mixedSound(w.finish(), 2);
    EXPECT_NEAR(left(pcm, 100), 5000, 2) << "the root's half volume, left side";
    EXPECT_EQ(pcm[100 * 2 + 1], 0) << "panned to the left";
}

TEST(Sound, AButtonPlaysItsPressSound)
{
    const std::vector<uint8_t> level = constantLevel(441);
    swfw::SwfWriter w(8, 100, 100, kFps);
    defineSound(w, 500, 0x3E, 441, level);
    const uint16_t shape = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0xFF0000)).rect(0, 0, 50, 50));
    swfw::ButtonBuilder button;
    button.part(swfw::ButtonPart{.states = 1 | 2 | 4 | 8, .characterId = shape, .depth = 1});
    const uint16_t id = w.defineButton(button);
    std::vector<uint8_t> sounds = littleEndian(id, 2);
    for (uint16_t sound : {0, 0, 500, 0}) { // roll out, roll over, press, release
        const auto bytes = littleEndian(sound, 2);
        sounds.insert(sounds.end(), bytes.begin(), bytes.end());
        if (sound)
            sounds.push_back(0); // sound info with no options
    }
    w.timeline().appendTag(17, sounds); // DefineButtonSound
    w.place(1, id);
    w.actions(swfw::compileActionScript("stop();")).showFrame();
    Player player;
    ASSERT_TRUE(player.loadBytes(w.finish()));
    player.tick();
    player.pointerMove(Point{20 * 20, 20 * 20});
    player.pointerPress();
    std::vector<int16_t> pcm(200 * 2);
    player.mixAudio(pcm.data(), 200);
    EXPECT_NEAR(left(pcm, 100), 10000, 2);
}

// Zero crossings per second, halved: the pitch of a clean tone.
double pitchOf(const std::vector<int16_t>& pcm, size_t from, size_t to)
{
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        crossings += (left(pcm, i - 1) < 0) != (left(pcm, i) < 0);
    return crossings / 2.0 / (double(to - from) / kRate);
}

TEST(Sound, AStreamFfmpegWroteInMp3SoundsAtItsPitch)
{
    QTemporaryDir directory;
    const QString movie = directory.filePath(QStringLiteral("tone.swf"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"),
                                            QStringLiteral("lavfi"), QStringLiteral("-i"),
                                            QStringLiteral("sine=frequency=440:sample_rate=44100:duration=2"),
                                            QStringLiteral("-c:a"), QStringLiteral("libmp3lame"), QStringLiteral("-ar"),
                                            QStringLiteral("44100"), QStringLiteral("-f"), QStringLiteral("swf"), movie});
    if (!ffmpeg.waitForFinished(60'000) || ffmpeg.exitCode() != 0)
        GTEST_SKIP() << "ffmpeg cannot write an MP3 movie here";
    std::ifstream file(movie.toStdString(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    Player player;
    ASSERT_TRUE(player.loadBytes(bytes));
    const double fps = player.movie()->header.frameRate;
    std::vector<int16_t> pcm;
    (void)fps;
    for (int tick = 0; tick < 60; ++tick) {
        player.tick();
        const size_t frames = player.streamBacklog().value_or(kTickFrames);
        pcm.resize(pcm.size() + frames * 2);
        player.mixAudio(pcm.data() + pcm.size() - frames * 2, frames);
    }
    EXPECT_NEAR(pitchOf(pcm, kRate / 4, kRate), 440, 5);
}

// A stream entered at a later frame (a goto) starts at that frame's sample: its
// sound lines up with the same frames' sound played through from the start.
TEST(Sound, AStreamEnteredAtALaterFrameStartsAtThatFramesSample)
{
    QTemporaryDir directory;
    const QString movie = directory.filePath(QStringLiteral("sweep.swf"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-f", "lavfi", "-i",
                                            "aevalsrc=sin(2*PI*(200+300*t)*t):s=44100:d=4", "-c:a", "libmp3lame",
                                            "-ar", "44100", "-f", "swf", movie});
    if (!ffmpeg.waitForFinished(60'000) || ffmpeg.exitCode() != 0)
        GTEST_SKIP() << "ffmpeg cannot write an MP3 movie here";
    std::ifstream file(movie.toStdString(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    // Each tick's sound is pulled whole, so the frames pulled before tick n are frames 0..n-1's.
    auto play = [&bytes](int fromFrame, int ticks, size_t* framesBeforeEntry) {
        Player player;
        EXPECT_TRUE(player.loadBytes(bytes));
        if (fromFrame > 0)
            player.gotoFrame(fromFrame);
        std::vector<int16_t> pcm;
        for (int tick = 0; tick < ticks; ++tick) {
            if (framesBeforeEntry && tick == 30)
                *framesBeforeEntry = pcm.size() / 2;
            player.tick();
            const size_t frames = player.streamBacklog().value_or(0);
            pcm.resize(pcm.size() + frames * 2);
            player.mixAudio(pcm.data() + pcm.size() - frames * 2, frames);
        }
        return pcm;
    };
    size_t at = 0;
    const auto whole = play(0, 60, &at);
    const auto entered = play(30, 30, nullptr);
    ASSERT_GT(whole.size(), (at + kRate / 2) * 2);
    ASSERT_GT(entered.size(), size_t(kRate / 2) * 2);
    // The lag that best lines the two up, past the first MP3 frame (which decodes without its reservoir).
    int bestLag = 0;
    double best = -1e300;
    for (int lag = -400; lag <= 400; ++lag) {
        double sum = 0;
        for (size_t i = 2048; i < 2048 + 8192; ++i)
            sum += double(left(entered, i)) * left(whole, size_t(ptrdiff_t(at + i) + lag));
        if (sum > best) {
            best = sum;
            bestLag = lag;
        }
    }
    EXPECT_LE(std::abs(bestLag), 2);
}

// loadSound of an MP3 beside the movie: its tags, its load told, an event
// sound starting when told to and a streaming one at once, and a refused path.
TEST(Sound, ASoundObjectLoadsMp3FilesFromTheMoviesFolder)
{
    QTemporaryDir directory;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=1", "-c:a",
                  "libmp3lame", "-metadata", "title=Tone", "-metadata", "artist=Tests", directory.filePath("tone.mp3")});
    if (!ffmpeg.waitForFinished(60'000) || ffmpeg.exitCode() != 0)
        GTEST_SKIP() << "ffmpeg cannot write an MP3 file here";
    swfw::SwfWriter w(8, 100, 100, kFps);
    w.actions(swfw::compileActionScript(R"(
        var event = new Sound();
        event.onID3 = function() { trace("id3 " + this.id3.songname + " " + this.id3.TPE1); };
        event.onLoad = function(ok) { trace("event loaded " + ok + " " + Math.round(this.duration / 100)); };
        event.onSoundComplete = function() { trace("event complete"); };
        event.loadSound("tone.mp3", false);
        var streamed = new Sound();
        streamed.onSoundComplete = function() { trace("stream complete"); };
        streamed.loadSound("tone.mp3", true);
        var refused = new Sound();
        refused.onLoad = function(ok) { trace("refused loaded " + ok); };
        refused.loadSound("../tone.mp3", false);
        var ticks = 0;
        this.onEnterFrame = function() { if (++ticks == 18) event.start(); };
    )"));
    w.showFrame();
    const QString moviePath = directory.filePath("movie.swf");
    const auto bytes = w.finish();
    std::ofstream(moviePath.toStdString(), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                                    std::streamsize(bytes.size()));
    Lines traces;
    PlayerSettings settings;
    settings.scriptClock = ScriptClock::Ticks;
    settings.scriptOutput.trace = [&](std::string_view line) { traces.emplace_back(line); };
    Player player(settings);
    ASSERT_TRUE(player.loadFile(moviePath.toStdString()));
    std::vector<int16_t> pcm;
    for (int tick = 0; tick < 3 * kFps; ++tick) {
        player.tick();
        pcm.resize(pcm.size() + kTickFrames * 2);
        player.mixAudio(pcm.data() + pcm.size() - kTickFrames * 2, kTickFrames);
    }
    EXPECT_EQ(traces, (Lines{"id3 Tone Tests", "event loaded true 10", "refused loaded false", "stream complete",
                             "event complete"}));
    // The stream sounds from the start, the event sound from its start() at tick 18.
    EXPECT_NEAR(pitchOf(pcm, kRate / 10, kRate / 2), 440, 5);
    EXPECT_NEAR(pitchOf(pcm, 18 * kTickFrames + kRate / 10, 18 * kTickFrames + kRate / 2), 440, 5);
    EXPECT_LT(std::abs(left(pcm, 14 * kTickFrames)), 50);
}

TEST(Sound, HostileSoundDataPlaysAsSilenceOfItsLength)
{
    std::mt19937 random(7);
    swfw::SwfWriter w(8, 100, 100, kFps);
    const uint8_t codecs[] = {0, 1, 2, 3, 4, 5, 6, 11, 15};
    uint16_t id = 500;
    for (uint8_t codec : codecs) {
        std::vector<uint8_t> noise(997);
        for (uint8_t& b : noise)
            b = uint8_t(random());
        defineSound(w, id, uint8_t(codec << 4 | 0x0F), 0xFFFFFFFF, noise);
        startSound(w, id++);
    }
    std::vector<uint8_t> head{0x0F, 0x2F}; // an MP3 stream
    const auto count = littleEndian(1000, 2);
    head.insert(head.end(), count.begin(), count.end());
    w.timeline().appendTag(tagCode::SoundStreamHead, head);
    for (int frame = 0; frame < 3; ++frame) {
        std::vector<uint8_t> block(300 + frame * 50);
        for (uint8_t& b : block)
            b = uint8_t(random());
        w.timeline().appendTag(tagCode::SoundStreamBlock, block);
        w.showFrame();
    }
    const std::vector<int16_t> pcm = mixedSound(w.finish(), 3);
    EXPECT_EQ(pcm.size(), 3 * kTickFrames * 2);
}

} // namespace
} // namespace flash::test
