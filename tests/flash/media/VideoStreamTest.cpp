// Seeking within a stream: going back decodes again from the nearest key frame
// and gives the picture that playing forwards gave.
#include "VideoFixtures.h"

#include "flash/media/VideoStream.h"
#include "flash/parse/MovieLoader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace flash::test {
namespace {

TEST(VideoStream, GoingBackDecodesFromTheKeyFrameBeforeTheTarget)
{
    if (!hasFfmpeg())
        GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir dir;
    const QString swf = dir.filePath("h263.swf");
    ASSERT_TRUE(runFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-t", "1", "-g", "4", "-c:v", "flv1",
                           "-f", "swf", swf}));
    const auto movie = loadMovieFile(swf.toStdString());
    ASSERT_TRUE(movie);
    const auto video = (*movie)->find<VideoDef>(0); // ffmpeg numbers its one stream 0
    ASSERT_TRUE(video);
    ASSERT_EQ(video->frames.size(), 10u);

    VideoStream forwards(video);
    std::vector<VideoPicture> played;
    for (uint16_t frame = 0; frame < 10; ++frame)
        played.push_back(forwards.picture(frame));
    EXPECT_EQ(forwards.decodeCount(), 10u);

    // Key frames at 0, 4 and 8: frame 6 needs 4, 5 and 6; frame 7 then only itself.
    const VideoPicture six = forwards.picture(6);
    EXPECT_EQ(forwards.decodeCount(), 13u);
    EXPECT_EQ(six.pixels, played[6].pixels);
    EXPECT_EQ(forwards.picture(7).pixels, played[7].pixels);
    EXPECT_EQ(forwards.decodeCount(), 14u);
    EXPECT_EQ(forwards.picture(2).pixels, played[2].pixels);
    EXPECT_EQ(forwards.decodeCount(), 17u);
    EXPECT_NE(played[2].pixels, played[6].pixels);
}

} // namespace
} // namespace flash::test
