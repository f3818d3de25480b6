// The frame clock: frames fall due on an anchored schedule, late ones all at once.
#include "flash/player/FrameClock.h"

#include <gtest/gtest.h>

namespace flash {
namespace {

using namespace std::chrono_literals;

class FakeTime final : public TimeSource {
public:
    std::chrono::nanoseconds now() const override { return time; }
    std::chrono::nanoseconds time{1'000'000'000};
};

class FrameClockTest : public ::testing::Test {
protected:
    FrameClockTest() : clock(&time) { }

    FakeTime time;
    FrameClock clock;
};

TEST_F(FrameClockTest, NothingIsDueBeforeTheFirstInterval)
{
    clock.setFrameRate(25);
    clock.start();
    EXPECT_EQ(clock.takeDueFrames(), 0u);
    time.time += 39ms;
    EXPECT_EQ(clock.takeDueFrames(), 0u);
    EXPECT_EQ(clock.timeUntilNextFrame(), 1ms);
    time.time += 1ms;
    EXPECT_EQ(clock.takeDueFrames(), 1u);
    EXPECT_EQ(clock.takeDueFrames(), 0u) << "a frame is handed out once";
}

TEST_F(FrameClockTest, LateWakeUpsDoNotShiftLaterFrames)
{
    // 30 frames a second, woken 7 ms late every time: after 300 wake-ups exactly 300 frames are due.
    clock.setFrameRate(30);
    clock.start();
    const auto start = time.time;
    uint64_t frames = 0;
    for (int i = 0; i < 300; ++i) {
        time.time += clock.timeUntilNextFrame() + 7ms;
        frames += clock.takeDueFrames();
    }
    const auto elapsed = time.time - start;
    EXPECT_EQ(frames, uint64_t(elapsed.count() * 30 / 1'000'000'000));
    EXPECT_GE(frames, 300u);
    // The schedule stays on the anchor: the next frame is due at a whole multiple of 1/30 s.
    const auto nextDue = time.time + clock.timeUntilNextFrame() - start;
    EXPECT_NEAR(double(nextDue.count()) * 30 / 1e9, double(frames + 1), 1e-6);
}

TEST_F(FrameClockTest, ASlowFrameMakesEveryDueFrameCountOnce)
{
    clock.setFrameRate(10);
    clock.start();
    time.time += 350ms;
    EXPECT_EQ(clock.takeDueFrames(), 3u) << "the timeline advances by each due frame";
    time.time += 50ms;
    EXPECT_EQ(clock.takeDueFrames(), 1u);
}

TEST_F(FrameClockTest, AStallHandsOutABoundedCatchUpAndCountsAfresh)
{
    clock.setFrameRate(10);
    clock.start();
    time.time += 10s;
    EXPECT_EQ(clock.takeDueFrames(), FrameClock::kMaxCatchUpFrames);
    EXPECT_EQ(clock.takeDueFrames(), 0u);
    time.time += 100ms;
    EXPECT_EQ(clock.takeDueFrames(), 1u);
}

TEST_F(FrameClockTest, RatesAreMadeSane)
{
    EXPECT_EQ(FrameClock::sanitizedRate(0), FrameClock::kDefaultRate);
    EXPECT_EQ(FrameClock::sanitizedRate(-5), FrameClock::kDefaultRate);
    EXPECT_EQ(FrameClock::sanitizedRate(std::numeric_limits<double>::quiet_NaN()), FrameClock::kDefaultRate);
    EXPECT_EQ(FrameClock::sanitizedRate(1000), FrameClock::kMaxRate);
    EXPECT_EQ(FrameClock::sanitizedRate(24), 24);
    EXPECT_EQ(FrameClock::sanitizedRate(0.01), FrameClock::kMinRate);
}

TEST_F(FrameClockTest, AStoppedClockHasNothingDue)
{
    clock.start();
    clock.stop();
    time.time += 5s;
    EXPECT_EQ(clock.takeDueFrames(), 0u);
}

TEST_F(FrameClockTest, AnotherTimeSourceSetsThePace)
{
    FakeTime stream; // e.g. a sound stream's position
    clock.setFrameRate(20);
    clock.start();
    clock.setTimeSource(&stream);
    time.time += 1s;
    EXPECT_EQ(clock.takeDueFrames(), 0u) << "steady time no longer counts";
    stream.time += 100ms;
    EXPECT_EQ(clock.takeDueFrames(), 2u);
}

} // namespace
} // namespace flash
