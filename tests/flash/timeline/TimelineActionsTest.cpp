// Decoding frame actions: the control actions, their arguments, and hostile bytes.
#include "flash/stage/FrameControlScripts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace flash {
namespace {

// A timeline of `count` frames with labels "intro" (1) and "loop" (5).
class FakeTimeline final : public TimelineControl {
public:
    explicit FakeTimeline(uint32_t count = 10) : m_count(count) { }
    void play() override { playing = true; }
    void stop() override { playing = false; }
    void gotoFrame(uint32_t target) override { frame = std::min(target, m_count - 1); ++gotos; }
    bool gotoLabel(const std::string& label) override
    {
        if (label == "intro" || label == "loop") {
            gotoFrame(label == "intro" ? 1 : 5);
            return true;
        }
        return false;
    }
    uint32_t currentFrame() const override { return frame; }
    uint32_t frameCount() const override { return m_count; }

    uint32_t frame = 0;
    bool playing = true;
    int gotos = 0;

private:
    uint32_t m_count;
};

FakeTimeline run(const std::vector<uint8_t>& bytes, uint32_t startFrame = 0)
{
    FakeTimeline timeline;
    timeline.frame = startFrame;
    runFrameControl(bytes, timeline);
    return timeline;
}

std::vector<uint8_t> pushThenGoto2(std::vector<uint8_t> pushPayload, uint8_t flags)
{
    std::vector<uint8_t> bytes{0x96, uint8_t(pushPayload.size()), 0};
    for (uint8_t byte : pushPayload)
        bytes.push_back(byte);
    for (uint8_t byte : {uint8_t(0x9F), uint8_t(1), uint8_t(0), flags, uint8_t(0x00)})
        bytes.push_back(byte);
    return bytes;
}

TEST(TimelineActions, StopPlayAndTheOrderOfActions)
{
    EXPECT_FALSE(run({0x07, 0x00}).playing);
    EXPECT_TRUE(run({0x07, 0x06, 0x00}).playing);
    EXPECT_TRUE(run({0x07, 0x00, 0x06}).playing == false) << "nothing runs after the end action";
}

TEST(TimelineActions, GotoFrameAndLabelGoThereAndStop)
{
    const FakeTimeline byNumber = run({0x81, 2, 0, 7, 0, 0x00});
    EXPECT_EQ(byNumber.frame, 7u);
    EXPECT_FALSE(byNumber.playing);

    const FakeTimeline byLabel = run({0x8C, 5, 0, 'l', 'o', 'o', 'p', 0, 0x06, 0x00});
    EXPECT_EQ(byLabel.frame, 5u);
    EXPECT_TRUE(byLabel.playing) << "the play after it applies";
}

TEST(TimelineActions, NextAndPreviousStayInsideTheTimeline)
{
    EXPECT_EQ(run({0x04}, 3).frame, 4u);
    EXPECT_EQ(run({0x04}, 9).frame, 9u);
    EXPECT_EQ(run({0x05}, 0).frame, 0u);
    EXPECT_EQ(run({0x05}, 3).frame, 2u);
    EXPECT_FALSE(run({0x05}, 3).playing);
}

TEST(TimelineActions, GotoFrame2TakesTheConstantPushedBeforeIt)
{
    // Integer 3 (frames counted from 1), then play.
    const FakeTimeline number = run(pushThenGoto2({7, 3, 0, 0, 0}, 1));
    EXPECT_EQ(number.frame, 2u);
    EXPECT_TRUE(number.playing);

    // A double 6.0, stored high half first, then stop.
    std::vector<uint8_t> six{6};
    uint64_t bits = 0;
    const double value = 6.0;
    std::memcpy(&bits, &value, 8);
    for (int shift : {32, 40, 48, 56, 0, 8, 16, 24})
        six.push_back(uint8_t(bits >> shift));
    const FakeTimeline fromDouble = run(pushThenGoto2(six, 0));
    EXPECT_EQ(fromDouble.frame, 5u);
    EXPECT_FALSE(fromDouble.playing);

    const FakeTimeline label = run(pushThenGoto2({0, 'i', 'n', 't', 'r', 'o', 0}, 0));
    EXPECT_EQ(label.frame, 1u);

    // A label from the constant pool.
    std::vector<uint8_t> pooled{0x88, 8, 0, 1, 0, 'l', 'o', 'o', 'p', 0, 0};
    for (uint8_t byte : pushThenGoto2({8, 0}, 1))
        pooled.push_back(byte);
    EXPECT_EQ(run(pooled).frame, 5u);
}

TEST(TimelineActions, GotoFrame2WithoutAKnownConstantDoesNothing)
{
    // Something other than a push comes between.
    std::vector<uint8_t> bytes = pushThenGoto2({7, 3, 0, 0, 0}, 1);
    bytes.insert(bytes.begin() + 8, 0x17); // ActionPop
    const FakeTimeline popped = run(bytes);
    EXPECT_EQ(popped.gotos, 0);

    EXPECT_EQ(run({0x9F, 1, 0, 1, 0x00}).gotos, 0) << "no push at all";
    EXPECT_EQ(run(pushThenGoto2({4, 1}, 1)).gotos, 0) << "a register value is not a constant";
    EXPECT_EQ(run(pushThenGoto2({0, 'c', 'l', 'i', 'p', ':', '3', 0}, 1)).gotos, 0) << "another timeline's frame";
}

TEST(TimelineActions, OtherActionsAreSteppedOverByTheirLength)
{
    // ActionGetURL with a payload holding bytes that look like a stop, then a goto.
    const FakeTimeline timeline = run({0x83, 3, 0, 0x07, 0x07, 0, 0x10, 0x81, 2, 0, 4, 0, 0x00});
    EXPECT_TRUE(timeline.frame == 4 && !timeline.playing);
}

TEST(TimelineActions, TruncatedAndRandomBytesAreHarmless)
{
    EXPECT_EQ(run({0x81, 2}).gotos, 0);
    EXPECT_EQ(run({0x81, 9, 0, 1}).gotos, 0);
    EXPECT_EQ(run({0x8C, 3, 0, 'a', 'b', 'c'}).gotos, 0) << "an unterminated label names no frame";
    EXPECT_EQ(run({0x96, 4, 0, 6, 1, 2}).gotos, 0);

    std::mt19937 random(1234);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bytes(random() % 64);
        for (uint8_t& byte : bytes)
            byte = uint8_t(random());
        FakeTimeline timeline;
        runFrameControl(bytes, timeline);
        EXPECT_LT(timeline.frame, timeline.frameCount());
    }
}

} // namespace
} // namespace flash
