// Movies written by Debian's ffmpeg: one picture per frame, each defined anew
// under the same character id after FreeCharacter.
#include "E2eSupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace e2e;

std::vector<uint8_t> ffmpegMovie(const QString& filterGraph)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("movie.swf"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-loglevel", "error", "-y", "-f", "lavfi", "-i", filterGraph, "-c:v", "mjpeg",
                                            "-f", "swf", out});
    if (!ffmpeg.waitForFinished(60'000) || ffmpeg.exitCode() != 0)
        return {};
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

TEST(FfmpegMovieE2e, EachFrameShowsItsOwnPicture)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    // Two frames of red, then two of blue, 32 x 32 pixels.
    PlayedMovie movie(ffmpegMovie(QStringLiteral(
        "color=c=red:s=32x32:r=2:d=1[a];color=c=blue:s=32x32:r=2:d=1[b];[a][b]concat=n=2:v=1")));
    ASSERT_TRUE(movie.loaded());
    ASSERT_EQ(movie.player().totalFrames(), 4);
    EXPECT_TRUE(colorNear(movie.image(), 16, 16, kRed, 24));
    movie.advance(3);
    EXPECT_TRUE(colorNear(movie.image(), 16, 16, kBlue, 24)) << "the picture defined anew on frame 3";
    movie.player().gotoFrame(0);
    EXPECT_TRUE(colorNear(movie.image(), 16, 16, kRed, 24)) << "and the first again after going back";
}

} // namespace
