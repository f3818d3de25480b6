// The demonstration movies shipped with a build load cleanly, play through
// and loop as they were written to.
#include "DemoMovies.h"
#include "E2eSupport.h"

#include "flash/parse/MovieLoader.h"

using namespace e2e;

TEST(DemoMoviesE2e, EachLoadsWithoutFaultsAndDrawsSomething)
{
    ensureApplication();
    for (const auto& demo : {demo::sunriseMovie(), demo::bitmapsAndMasksMovie(), demo::spritesMovie()}) {
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
