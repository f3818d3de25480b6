// Embedded video on stage: frames of every codec ffmpeg can write against ffmpeg's
// own decode of the same packets, stream faults, and hostile payloads.
#include "VideoFixtures.h"

#include "SwfWriter.h"
#include "flash/player/Player.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace flash::test {
namespace {

constexpr int kWidth = 64, kHeight = 48;

struct Encoded {
    QString movie;     // the movie to play
    QString reference; // what ffmpeg decodes for reference (the movie itself, or the FLV its packets came from)
};

// ffmpeg's test picture (moving parts included), 10 frames with a key frame every 4.
QStringList testSource()
{
    return {"-f", "lavfi", "-i", QString("testsrc=size=%1x%2:rate=10").arg(kWidth).arg(kHeight), "-t", "1", "-g", "4"};
}

std::optional<Encoded> encode(const QTemporaryDir& dir, const QString& codec)
{
    const QString swf = dir.filePath(codec + ".swf");
    // ffmpeg writes screen video 2 only into FLV: its packets go into a movie of ours.
    if (codec != "flashsv2")
        return runFfmpeg(testSource() + QStringList{"-c:v", codec, "-f", "swf", swf}) ? std::optional(Encoded{swf, swf})
                                                                                     : std::nullopt;
    const QString flv = dir.filePath(codec + ".flv");
    if (!runFfmpeg(testSource() + QStringList{"-c:v", codec, "-f", "flv", flv}))
        return std::nullopt;
    const auto bytes = videoMovie(6, kWidth, kHeight, flvVideoPayloads(flv));
    QFile file(swf);
    if (!file.open(QIODevice::WriteOnly) || file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        return std::nullopt;
    return Encoded{swf, flv};
}

QImage frameOf(Player& player, int frame)
{
    player.gotoFrame(frame);
    player.settle();
    return player.renderImage(QSize(kWidth, kHeight));
}

TEST(EmbeddedVideo, FramesMatchTheDecodersOwnForEachCodecFfmpegWrites)
{
    if (!hasFfmpeg())
        GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString codec : {"flv1", "flashsv", "flashsv2"}) {
        SCOPED_TRACE(codec.toStdString());
        const auto encoded = encode(dir, codec);
        ASSERT_TRUE(encoded);
        const auto expected = referenceFrames(encoded->reference, kWidth, kHeight);
        ASSERT_EQ(expected.size(), 10u);
        Player player;
        ASSERT_TRUE(player.loadFile(encoded->movie.toStdString())) << player.loadError();
        EXPECT_TRUE(player.movie()->errors.empty()) << player.movie()->errors.front();
        ASSERT_EQ(player.totalFrames(), 10);
        // Forwards frame by frame, then back to frames before the last key frame.
        for (int frame : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 6, 2}) {
            const PixelDifference d = difference(frameOf(player, frame), expected[size_t(frame)]);
            EXPECT_LE(d.mean, 1.0) << "frame " << frame;
            EXPECT_LE(d.largest, 24) << "frame " << frame;
        }
    }
}

TEST(EmbeddedVideo, FramesOfUnknownStreamsOrPastTheCountAreSkippedAsFaults)
{
    swfw::SwfWriter w(8, 32, 24, 10);
    const std::vector<uint8_t> payload{1, 2, 3};
    w.timeline().appendTag(60, videoStreamBody(1, 2, 32, 24, 2));
    w.timeline().appendTag(61, videoFrameBody(7, 0, payload)); // no such stream
    w.timeline().appendTag(61, videoFrameBody(1, 2, payload)); // the stream has frames 0 and 1
    w.timeline().appendTag(61, videoFrameBody(1, 1, payload));
    w.timeline().appendTag(60, std::vector<uint8_t>{1, 0}); // cut short
    w.showFrame();
    const auto bytes = w.finish();
    Player player;
    ASSERT_TRUE(player.loadBytes(bytes));
    EXPECT_EQ(player.movie()->errors.size(), 3u);
    const auto video = player.movie()->find<VideoDef>(1);
    ASSERT_TRUE(video);
    EXPECT_EQ(video->frames.size(), 1u);
    EXPECT_TRUE(video->frames.contains(1));
}

// Random bytes, truncated and empty payloads for every codec (and an unknown one):
// nothing crashes or hangs, and payloads too short to hold a picture draw nothing.
TEST(EmbeddedVideo, HostilePayloadsDrawBlankFramesAndNeverCrash)
{
    std::mt19937 random(20240610);
    std::vector<std::vector<uint8_t>> payloads{{}, {0x00}, {0x00, 0x00, 0x84}};
    for (size_t size : {8u, 64u, 700u, 5000u}) {
        std::vector<uint8_t> bytes(size);
        for (auto& b : bytes)
            b = uint8_t(random());
        payloads.push_back(bytes);
    }
    QImage white(32, 24, QImage::Format_ARGB32_Premultiplied);
    white.fill(Qt::white);
    for (uint8_t codec : {2, 3, 4, 5, 6, 9}) {
        SCOPED_TRACE(int(codec));
        Player player;
        ASSERT_TRUE(player.loadBytes(videoMovie(codec, 32, 24, payloads)));
        for (int frame = 0; frame < int(payloads.size()); ++frame) {
            player.gotoFrame(frame);
            player.settle();
            const QImage image = player.renderImage(QSize(32, 24));
            if (frame < 3 || codec == 9) {
                EXPECT_EQ(difference(image, white).largest, 0) << "frame " << frame;
            }
        }
        player.gotoFrame(1); // back to the start of a broken stream
        EXPECT_EQ(difference(player.renderImage(QSize(32, 24)), white).largest, 0);
    }
}

} // namespace
} // namespace flash::test
