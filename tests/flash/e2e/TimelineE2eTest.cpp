// The timeline end to end: frames adding, moving, replacing and removing
// objects, sprites with their own timelines, frame actions, labels, looping,
// and going to any frame giving the picture that playing to it gives.
#include "E2eSupport.h"

using namespace e2e;

namespace {

// Frame n shows a red square at x = 10 n; frame 3 replaces it with a blue one,
// frame 5 adds a green one, frame 7 removes the first. Eight frames.
SwfWriter busyMovie()
{
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 10, Color::rgb(0xff0000)));
    const uint16_t blue = w.defineShape(square(0, 0, 10, Color::rgb(0x0000ff)));
    const uint16_t green = w.defineShape(square(0, 0, 10, Color::rgb(0x00ff00)));
    for (int f = 0; f < 8; ++f) {
        if (f == 0)
            w.place(1, red, Matrix::translation(0, 10));
        else if (f == 3)
            w.place(Placement{.depth = 1, .characterId = blue, .matrix = Matrix::translation(30, 10), .move = true});
        else if (f == 7)
            w.timeline().removeCharacter(1, blue);
        else
            w.move(1, Matrix::translation(10 * f, 10));
        if (f == 5)
            w.place(Placement{.depth = 2, .characterId = green, .matrix = Matrix::translation(50, 50), .version = PlaceVersion::V1});
        w.showFrame();
    }
    return w;
}

} // namespace

TEST(TimelineE2e, FramesPlaceMoveReplaceAndRemove)
{
    PlayedMovie movie(busyMovie().finish());
    ASSERT_TRUE(movie.loaded());
    EXPECT_EQ(movie.player().totalFrames(), 8);
    EXPECT_TRUE(colorNear(movie.image(), 5, 15, kRed));
    movie.advance(2);
    EXPECT_EQ(movie.player().currentFrame(), 2);
    EXPECT_TRUE(colorNear(movie.image(), 25, 15, kRed));
    EXPECT_TRUE(colorNear(movie.image(), 5, 15, kWhite));
    movie.advance();
    EXPECT_TRUE(colorNear(movie.image(), 35, 15, kBlue)) << "replaced on frame 3";
    movie.advance(2);
    EXPECT_TRUE(colorNear(movie.image(), 55, 15, kBlue));
    EXPECT_TRUE(colorNear(movie.image(), 55, 55, kGreen));
    movie.advance(2);
    EXPECT_EQ(movie.player().currentFrame(), 7);
    const QImage last = movie.image();
    EXPECT_TRUE(colorNear(last, 65, 15, kWhite)) << "removed on frame 7";
    EXPECT_TRUE(colorNear(last, 55, 55, kGreen));
}

TEST(TimelineE2e, GoingToAFrameShowsWhatPlayingToItShows)
{
    const auto bytes = busyMovie().finish();
    PlayedMovie jumping(bytes);
    for (int target : {7, 2, 5, 0, 3, 6, 1, 4}) {
        SCOPED_TRACE(target);
        PlayedMovie playing(bytes);
        playing.advance(target);
        jumping.player().gotoFrame(target);
        EXPECT_EQ(jumping.player().currentFrame(), target);
        EXPECT_EQ(jumping.image(), playing.image());
    }
}

TEST(TimelineE2e, GotoOutOfRangeShowsTheNearestFrame)
{
    PlayedMovie movie(busyMovie().finish());
    movie.player().gotoFrame(1000);
    EXPECT_EQ(movie.player().currentFrame(), 7);
    movie.player().gotoFrame(-5);
    EXPECT_EQ(movie.player().currentFrame(), 0);
    EXPECT_TRUE(colorNear(movie.image(), 5, 15, kRed));
}

TEST(TimelineE2e, MainTimelineLoopsBackToTheFirstFrame)
{
    PlayedMovie movie(busyMovie().finish());
    movie.advance(8);
    EXPECT_EQ(movie.player().currentFrame(), 0);
    EXPECT_TRUE(movie.player().isPlaying());
    const QImage img = movie.image();
    EXPECT_TRUE(colorNear(img, 5, 15, kRed));
    EXPECT_TRUE(colorNear(img, 55, 55, kWhite)) << "frame 0 again: the green square is not there yet";
}

TEST(TimelineE2e, SpritesAdvanceOnTheirOwnTimelines)
{
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 20, Color::rgb(0xff0000)));
    const uint16_t blue = w.defineShape(square(0, 0, 20, Color::rgb(0x0000ff)));
    const uint16_t green = w.defineShape(square(0, 0, 20, Color::rgb(0x00ff00)));
    // Three frames: red, blue, green, at the same depth.
    Timeline cycle;
    cycle.place(1, red).showFrame();
    cycle.place(Placement{.depth = 1, .characterId = blue, .move = true}).showFrame();
    cycle.place(Placement{.depth = 1, .characterId = green, .move = true}).showFrame();
    const uint16_t sprite = w.defineSprite(cycle);
    w.place(1, sprite, Matrix::translation(10, 10));
    w.place(2, sprite, Matrix::translation(60, 10));
    w.actions(Actions().stop()); // the main timeline stops; sprites keep playing
    w.showFrame();
    PlayedMovie movie(w.finish());
    ASSERT_TRUE(movie.loaded());
    const QColor expected[] = {kRed, kBlue, kGreen, kRed, kBlue};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const QImage img = movie.image();
        EXPECT_TRUE(colorNear(img, 20, 20, expected[i]));
        EXPECT_TRUE(colorNear(img, 70, 20, expected[i]));
        movie.advance();
    }
    EXPECT_EQ(movie.player().currentFrame(), 0);
}

TEST(TimelineE2e, NestedSpritesAndTheirStopActions)
{
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 20, Color::rgb(0xff0000)));
    const uint16_t blue = w.defineShape(square(0, 0, 20, Color::rgb(0x0000ff)));
    // The inner sprite moves right 10 px a frame for four frames, then stops itself.
    Timeline inner;
    inner.place(1, red);
    for (int f = 0; f < 4; ++f) {
        inner.move(1, Matrix::translation(10 * f, 0));
        if (f == 3)
            inner.actions(Actions().stop());
        inner.showFrame();
    }
    const uint16_t innerId = w.defineSprite(inner);
    Timeline outer;
    outer.place(1, innerId).place(2, blue, Matrix::translation(0, 40)).showFrame();
    const uint16_t outerId = w.defineSprite(outer);
    w.place(1, outerId, Matrix::translation(10, 10));
    w.showFrame();
    PlayedMovie movie(w.finish());
    ASSERT_TRUE(movie.loaded());
    EXPECT_TRUE(colorNear(movie.image(), 15, 15, kRed));
    EXPECT_TRUE(colorNear(movie.image(), 15, 55, kBlue));
    movie.advance(2);
    EXPECT_TRUE(colorNear(movie.image(), 38, 15, kRed));
    EXPECT_TRUE(colorNear(movie.image(), 15, 15, kWhite));
    movie.advance(10);
    EXPECT_TRUE(colorNear(movie.image(), 48, 15, kRed)) << "the inner sprite stays on its last frame";
    EXPECT_TRUE(colorNear(movie.image(), 15, 15, kWhite));
}

TEST(TimelineE2e, ActionsInASpriteDriveTheSpritesTimeline)
{
    // The sprite's frame 1 jumps to its frame 3 and stops there; the main timeline plays on.
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 10, Color::rgb(0xff0000)));
    const uint16_t blue = w.defineShape(square(0, 0, 10, Color::rgb(0x0000ff)));
    Timeline sprite;
    sprite.place(1, red);
    for (int f = 0; f < 4; ++f) {
        if (f > 0)
            sprite.move(1, Matrix::translation(20 * f, 0));
        if (f == 1)
            sprite.actions(Actions().gotoFrame(3));
        sprite.showFrame();
    }
    w.place(1, w.defineSprite(sprite), Matrix::translation(0, 10));
    w.place(2, blue, Matrix::translation(0, 60)).showFrame();
    w.move(2, Matrix::translation(50, 60)).showFrame();
    PlayedMovie movie(w.finish());
    movie.advance();
    EXPECT_EQ(movie.player().currentFrame(), 1);
    EXPECT_TRUE(colorNear(movie.image(), 65, 15, kRed)) << "the sprite went to its frame 3";
    EXPECT_TRUE(colorNear(movie.image(), 55, 65, kBlue));
    movie.advance(3);
    EXPECT_EQ(movie.player().currentFrame(), 0);
    EXPECT_TRUE(movie.player().isPlaying());
    EXPECT_TRUE(colorNear(movie.image(), 65, 15, kRed)) << "and stayed there";
    EXPECT_TRUE(colorNear(movie.image(), 5, 65, kBlue));
}

TEST(TimelineE2e, ReplacingACharacterKeepsItsPlacement)
{
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 20, Color::rgb(0xff0000)));
    const uint16_t white = w.defineShape(square(0, 0, 20, Color::rgb(0xffffff)));
    w.place(Placement{.depth = 1, .characterId = white, .matrix = Matrix::translation(50, 50),
                      .colorTransform = ColorTransform::multiply(0, 1, 1)}).showFrame();
    w.place(Placement{.depth = 1, .characterId = red, .move = true}).showFrame();
    PlayedMovie movie(w.finish());
    EXPECT_TRUE(colorNear(movie.image(), 60, 60, QColor(0, 255, 255)));
    movie.advance();
    EXPECT_TRUE(colorNear(movie.image(), 60, 60, kBlack)) << "red under the kept colour transform, at the kept place";
    EXPECT_TRUE(colorNear(movie.image(), 10, 10, kWhite));
}

TEST(TimelineE2e, ASpritePlacedAgainStartsFromItsFirstFrame)
{
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 10, Color::rgb(0xff0000)));
    Timeline walker;
    walker.place(1, red).showFrame();
    for (int f = 1; f < 10; ++f)
        walker.move(1, Matrix::translation(10 * f, 0)).showFrame();
    const uint16_t sprite = w.defineSprite(walker);
    w.place(1, sprite, Matrix::translation(0, 10)).showFrame();
    w.showFrame().showFrame().showFrame();
    w.remove(1).place(1, sprite, Matrix::translation(0, 10)).showFrame();
    w.actions(Actions().stop()).showFrame();
    PlayedMovie movie(w.finish());
    movie.advance(3);
    EXPECT_TRUE(colorNear(movie.image(), 35, 15, kRed)) << "three frames in";
    movie.advance();
    EXPECT_TRUE(colorNear(movie.image(), 5, 15, kRed)) << "a new instance starts over";
    EXPECT_TRUE(colorNear(movie.image(), 45, 15, kWhite));
    movie.advance();
    EXPECT_TRUE(colorNear(movie.image(), 15, 15, kRed));
}

TEST(TimelineE2e, ContentAfterTheLastShowFrameIsAFrame)
{
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 20, Color::rgb(0xff0000)));
    const uint16_t morph = w.defineMorphShape(square(0, 0, 20, Color::rgb(0x0000ff)), square(40, 40, 20, Color::rgb(0x00ff00)));
    w.place(1, red, Matrix::translation(10, 10));
    w.place(2, morph, Matrix::translation(50, 10)); // no ratio: the start shape
    PlayedMovie movie(w.finish());                  // no ShowFrame at all
    ASSERT_TRUE(movie.loaded());
    EXPECT_EQ(movie.player().totalFrames(), 1);
    EXPECT_TRUE(colorNear(movie.image(), 20, 20, kRed));
    EXPECT_TRUE(colorNear(movie.image(), 60, 20, kBlue));
}

TEST(TimelineE2e, StopActionKeepsTheMovieStopped)
{
    SwfWriter w = busyMovie();
    // busyMovie has eight frames; a ninth with a stop action ends the movie there.
    w.actions(Actions().stop()).showFrame();
    PlayedMovie movie(w.finish());
    movie.advance(8);
    EXPECT_EQ(movie.player().currentFrame(), 8);
    EXPECT_FALSE(movie.player().isPlaying());
    movie.advance(20);
    EXPECT_EQ(movie.player().currentFrame(), 8);
    EXPECT_TRUE(colorNear(movie.image(), 55, 55, kGreen));
    movie.player().play();
    movie.advance();
    EXPECT_EQ(movie.player().currentFrame(), 0) << "play resumes and loops";
}

TEST(TimelineE2e, StopOnTheFirstFrameHoldsItFromTheStart)
{
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 20, Color::rgb(0xff0000)));
    w.place(1, red, Matrix::translation(10, 10)).actions(Actions().stop()).showFrame();
    w.move(1, Matrix::translation(60, 10)).showFrame();
    PlayedMovie movie(w.finish());
    EXPECT_FALSE(movie.player().isPlaying());
    movie.advance(5);
    EXPECT_EQ(movie.player().currentFrame(), 0);
    EXPECT_TRUE(colorNear(movie.image(), 20, 20, kRed));
}

TEST(TimelineE2e, GotoActionsJumpAndLabelsNameFrames)
{
    // Frame 1 jumps to the frame labelled "end" (frame 4) and plays on; frame 5
    // goes to frame 2 and stops there, since a goto alone does not play.
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 10, Color::rgb(0xff0000)));
    w.place(1, red, Matrix::translation(0, 10));
    for (int f = 0; f < 6; ++f) {
        if (f > 0)
            w.move(1, Matrix::translation(10 * f, 10));
        if (f == 1)
            w.actions(Actions().gotoLabel("End").play());
        if (f == 4)
            w.label("end");
        if (f == 5)
            w.actions(Actions().gotoFrame(2));
        w.showFrame();
    }
    PlayedMovie movie(w.finish());
    movie.advance();
    EXPECT_EQ(movie.player().currentFrame(), 4) << "labels match without regard to case";
    EXPECT_TRUE(colorNear(movie.image(), 45, 15, kRed));
    EXPECT_TRUE(movie.player().isPlaying());
    movie.advance();
    EXPECT_EQ(movie.player().currentFrame(), 2);
    EXPECT_FALSE(movie.player().isPlaying());
    EXPECT_TRUE(colorNear(movie.image(), 25, 15, kRed));
    EXPECT_TRUE(colorNear(movie.image(), 55, 15, kWhite));
}

TEST(TimelineE2e, NextAndPreviousFrameActionsStepAndStop)
{
    // Frame 0 stops; frame 1 steps on to frame 2, frame 3 steps back to frame 2.
    SwfWriter w = newMovie();
    const uint16_t red = w.defineShape(square(0, 0, 10, Color::rgb(0xff0000)));
    w.place(1, red, Matrix::translation(0, 10)).actions(Actions().stop()).showFrame();
    for (int f = 1; f < 4; ++f) {
        w.move(1, Matrix::translation(10 * f, 10));
        if (f == 1)
            w.actions(Actions().nextFrame());
        if (f == 3)
            w.actions(Actions().prevFrame());
        w.showFrame();
    }
    PlayedMovie movie(w.finish());
    EXPECT_EQ(movie.player().currentFrame(), 0);
    movie.player().play();
    movie.advance();
    EXPECT_EQ(movie.player().currentFrame(), 2);
    EXPECT_FALSE(movie.player().isPlaying());
    movie.player().play();
    movie.advance();
    EXPECT_EQ(movie.player().currentFrame(), 2);
    EXPECT_FALSE(movie.player().isPlaying());
    EXPECT_TRUE(colorNear(movie.image(), 25, 15, kRed));
    EXPECT_TRUE(colorNear(movie.image(), 35, 15, kWhite));
}
