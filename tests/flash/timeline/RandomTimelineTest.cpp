// Random movies: going to a frame equals playing to it, and no sequence of
// operations breaks the timeline.
#include "MovieFixture.h"


#include <gtest/gtest.h>

#include <random>

namespace flash::test {
namespace {

class RandomMovie {
public:
    explicit RandomMovie(uint32_t seed) : m_random(seed) { }

    // Sprites 10..13 with actions of their own; the main timeline has actions only when asked.
    std::shared_ptr<const Movie> make(bool mainActions)
    {
        MovieWriter movie;
        movie.shape(1).shape(2).shape(3);
        for (uint16_t id = 10; id <= 13; ++id)
            movie.sprite(id, timeline(1 + pick(5), id, true));
        return movie.finish(timeline(1 + pick(12), 0, mainActions));
    }

private:
    uint32_t pick(uint32_t below) { return uint32_t(m_random() % below); }

    // Shapes, or sprites defined after `owner` (a sprite holding itself is tested elsewhere).
    uint16_t character(uint16_t owner)
    {
        if (pick(2) == 0 || owner >= 13)
            return uint16_t(1 + pick(3));
        const uint16_t first = owner < 10 ? 10 : uint16_t(owner + 1);
        return uint16_t(first + pick(14 - first));
    }

    std::vector<uint8_t> someActions(uint32_t frames)
    {
        switch (pick(6)) {
        case 0: return actions::stop();
        case 1: return actions::play();
        case 2: return actions::gotoFrame(uint16_t(pick(frames + 1)));
        case 3: return actions::gotoAndPlay(uint16_t(pick(frames + 1)));
        case 4: return actions::nextFrame();
        default: return actions::previousFrame();
        }
    }

    TimelineWriter timeline(uint32_t frames, uint16_t owner, bool withActions)
    {
        TimelineWriter writer;
        for (uint32_t frame = 0; frame < frames; ++frame) {
            const uint32_t tags = pick(4);
            for (uint32_t i = 0; i < tags; ++i) {
                const uint16_t depth = uint16_t(1 + pick(4));
                switch (pick(4)) {
                case 0: writer.place(depth, character(owner), double(pick(100))); break;
                case 1: writer.move(depth, double(pick(100))); break;
                case 2: writer.replace(depth, character(owner)); break;
                default: writer.remove(depth); break;
                }
            }
            if (withActions && pick(4) == 0)
                writer.actions(someActions(frames));
            writer.showFrame();
        }
        return writer;
    }

    std::mt19937 m_random;
};

std::string playedTo(const std::shared_ptr<const Movie>& movie, uint32_t frame)
{
    StageDriver player(movie);
    player.restart();
    for (uint32_t i = 0; i < frame; ++i)
        player.advance();
    return describePlacements(player.displayList());
}

// Clips inside start at their first frame when a goto places them, so only the timeline's own placements compare.
TEST(RandomTimeline, GoingToAFramePlacesWhatPlayingToItPlaces)
{
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        const auto movie = RandomMovie(seed).make(false);
        const auto frames = uint32_t(movie->timeline.frames.size());
        for (uint32_t target = 0; target < frames; ++target) {
            StageDriver player(movie);
            player.restart();
            player.gotoFrame(target);
            ASSERT_EQ(describePlacements(player.displayList()), playedTo(movie, target)) << "seed " << seed << " frame " << target;
        }
    }
}

TEST(RandomTimeline, AnySequenceOfOperationsKeepsTheTimelineConsistent)
{
    std::mt19937 random(99);
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        StageDriver player(RandomMovie(seed).make(true));
        player.restart();
        for (int step = 0; step < 60; ++step) {
            switch (random() % 5) {
            case 0: player.gotoFrame(int64_t(random() % 20) - 4); break;
            case 1: player.play(); break;
            case 2: player.stop(); break;
            default: player.advance(); break;
            }
            ASSERT_LT(player.currentFrame(), std::max(player.frameCount(), 1u)) << "seed " << seed;
        }
    }
}

} // namespace
} // namespace flash::test
