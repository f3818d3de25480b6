// FLV files beside a movie played through NetStream into a Video object: the
// status a script hears, picture and sound together on the sound clock,
// seeking to key frames, and the sandbox. ffmpeg writes the files.
#include "VideoFixtures.h"

#include "AsCompiler.h"
#include "SwfWriter.h"

#include "flash/player/Player.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace flash::test {
namespace {

constexpr int kWidth = 64, kHeight = 48, kMovieRate = 20;
constexpr size_t kFramesPerTick = media::kMixRate / kMovieRate;

// A movie with a Video object "vid" filling its stage, and `script` on its first frame.
std::vector<uint8_t> videoObjectMovie(const std::string& script)
{
    swfw::SwfWriter w(8, kWidth, kHeight, kMovieRate);
    w.background(swfw::Color::rgb(0x000000));
    w.timeline().appendTag(60, videoStreamBody(1, 0, kWidth, kHeight, 0));
    w.place(swfw::Placement{.depth = 1, .characterId = 1, .name = std::string("vid")});
    w.actions(swfw::compileActionScript(script));
    w.showFrame();
    return w.finish();
}

const std::string kListen = R"(
    var nc = new NetConnection();
    trace("connect " + nc.connect(null));
    var ns = new NetStream(nc);
    vid.attachVideo(ns);
    ns.onStatus = function(info) { trace(info.level + " " + info.code); };
    ns.onMetaData = function(m) { trace("meta " + m.width + "x" + m.height + " " + Math.round(m.duration)); };
)";

class NetStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!hasFfmpeg())
            GTEST_SKIP() << "ffmpeg is not installed";
        ASSERT_TRUE(folder.isValid());
    }

    // Two seconds at 10 fps, black with one white frame at 1 s, silent until a 1 kHz tone starts at 1 s.
    void writeClip(const QString& name, const QString& videoCodec, const QString& audioCodec)
    {
        ASSERT_TRUE(runFfmpeg({"-f", "lavfi", "-i",
                               "color=c=black:s=64x48:r=10,drawbox=c=white:t=fill:enable='between(n,10,10)'",
                               "-f", "lavfi", "-i", "sine=f=1000:sample_rate=22050,volume=volume=0:enable='lt(t,1)'",
                               "-t", "2", "-g", "5", "-c:v", videoCodec, "-c:a", audioCodec, "-ar", "22050",
                               folder.filePath(name)}));
    }

    // Plays `script` in a movie in the folder for `ticks` ticks, pulling a tick's sound after each.
    void run(const std::string& script, int ticks)
    {
        PlayerSettings settings;
        settings.scriptClock = ScriptClock::Ticks;
        settings.scriptOutput.trace = [this](std::string_view line) { traces.emplace_back(line); };
        Player player(settings);
        const QString moviePath = folder.filePath("movie.swf");
        const auto bytes = videoObjectMovie(script);
        std::ofstream(moviePath.toStdString(), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                                        std::streamsize(bytes.size()));
        ASSERT_TRUE(player.loadFile(moviePath.toStdString()));
        std::vector<int16_t> buffer(kFramesPerTick * 2);
        for (int tick = 0; tick < ticks; ++tick) {
            player.tick();
            player.mixAudio(buffer.data(), kFramesPerTick);
            sound.insert(sound.end(), buffer.begin(), buffer.end());
            pictures.push_back(player.renderImage(QSize(kWidth, kHeight)));
        }
    }

    // The first tick whose picture is white in the middle, and the first whose sound is loud.
    [[nodiscard]] std::optional<int> firstWhiteTick() const
    {
        for (size_t i = 0; i < pictures.size(); ++i) {
            if (qGray(pictures[i].pixel(kWidth / 2, kHeight / 2)) > 200)
                return int(i);
        }
        return std::nullopt;
    }
    [[nodiscard]] std::optional<double> soundOnsetMs() const
    {
        for (size_t i = 0; i < sound.size(); ++i) {
            if (std::abs(sound[i]) > 3000)
                return double(i / 2) * 1000 / media::kMixRate;
        }
        return std::nullopt;
    }
    [[nodiscard]] bool traced(const std::string& line) const
    {
        return std::find(traces.begin(), traces.end(), line) != traces.end();
    }

    QTemporaryDir folder;
    std::vector<std::string> traces;
    std::vector<int16_t> sound;
    std::vector<QImage> pictures;
};

TEST_F(NetStreamTest, PlaysAnFlvBesideTheMovieWithPictureAndSoundTogether)
{
    for (const auto& [video, audio] : {std::pair{"flv1", "adpcm_swf"}, std::pair{"flashsv", "mp3"},
                                       std::pair{"flv1", "nellymoser"}, std::pair{"flv1", "pcm_s16le"}}) {
        SCOPED_TRACE(std::string(video) + " " + audio);
        traces.clear();
        sound.clear();
        pictures.clear();
        writeClip("clip.flv", video, audio);
        run(kListen + "ns.play('clip.flv');", 3 * kMovieRate);
        EXPECT_EQ(traces.front(), "connect true");
        EXPECT_TRUE(traced("status NetStream.Play.Start"));
        EXPECT_TRUE(traced("meta 64x48 2"));
        EXPECT_EQ(traces.back(), "status NetStream.Buffer.Empty");
        EXPECT_TRUE(traced("status NetStream.Play.Stop"));
        // The white frame shows at 1 s, when the tone starts: each within a movie frame of it, and of each other.
        const auto white = firstWhiteTick();
        const auto onset = soundOnsetMs();
        ASSERT_TRUE(white && onset);
        const double whiteMs = *white * 1000.0 / kMovieRate;
        EXPECT_NEAR(whiteMs, 1000, 1000.0 / kMovieRate);
        EXPECT_NEAR(*onset, whiteMs, 1000.0 / kMovieRate);
    }
}

TEST_F(NetStreamTest, SeeksToKeyFramesAndPausesTheClock)
{
    writeClip("clip.flv", "flv1", "adpcm_swf");
    run(kListen + R"(
        ns.play("clip.flv");
        var ticks = 0;
        this.onEnterFrame = function() {
            ticks++;
            if (ticks == 4) { ns.seek(0.8); trace("after seek " + ns.time); }
            if (ticks == 6) { ns.pause(true); paused = ns.time; }
            if (ticks == 12) { trace("paused held " + (ns.time == paused)); ns.pause(false); }
            if (ticks == 16) trace("moves again " + (ns.time > paused));
        };
    )", 20);
    EXPECT_TRUE(traced("status NetStream.Seek.Notify"));
    // Key frames every half second: 0.8 s lands on 0.5 s.
    EXPECT_TRUE(traced("after seek 0.5"));
    EXPECT_TRUE(traced("paused held true"));
    EXPECT_TRUE(traced("moves again true"));
}

TEST_F(NetStreamTest, AStreamsSoundPlaysAtTheLevelOfTheClipItIsAttachedTo)
{
    writeClip("clip.flv", "flv1", "pcm_s16le");
    run(kListen + R"(
        this.createEmptyMovieClip("speaker", 1);
        speaker.attachAudio(ns);
        new Sound(speaker).setVolume(0);
        ns.play("clip.flv");
    )", 3 * kMovieRate);
    EXPECT_TRUE(firstWhiteTick()) << "the picture plays";
    EXPECT_FALSE(soundOnsetMs()) << "the sound is turned down with its clip";
}

TEST_F(NetStreamTest, NothingOutsideTheFolderOrOnTheNetworkPlays)
{
    // A whole header, then a tag that claims far more than the file holds.
    static constexpr char kBroken[] = "FLV\x01\x05\0\0\0\x09\0\0\0\0\x08\xff\xff\xffgarbage";
    std::ofstream(folder.filePath("broken.flv").toStdString(), std::ios::binary).write(kBroken, sizeof kBroken - 1);
    run(kListen + R"(
        var names = ["../clip.flv", "http://example.com/clip.flv", "missing.flv", "broken.flv"];
        for (var i = 0; i < names.length; i++) {
            var s = new NetStream(nc);
            s.name = names[i];
            s.onStatus = function(info) { trace(this.name + ": " + info.code); };
            s.play(names[i]);
        }
        var server = new NetConnection();
        server.onStatus = function(info) { trace("server " + info.code); };
        trace("server connect " + server.connect("rtmp://example.com/app"));
    )", 10);
    EXPECT_TRUE(traced("../clip.flv: NetStream.Play.StreamNotFound"));
    EXPECT_TRUE(traced("http://example.com/clip.flv: NetStream.Play.StreamNotFound"));
    EXPECT_TRUE(traced("missing.flv: NetStream.Play.StreamNotFound"));
    EXPECT_TRUE(traced("server connect false"));
    EXPECT_TRUE(traced("server NetConnection.Connect.Failed"));
    // A file with a header and garbage after it plays as an empty stream and ends.
    EXPECT_TRUE(traced("broken.flv: NetStream.Play.Stop"));
}

} // namespace
} // namespace flash::test
