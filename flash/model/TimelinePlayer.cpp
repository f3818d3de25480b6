// Drives the main timeline: each public operation runs with fresh bounds.
#include "flash/model/TimelinePlayer.h"

#include "flash/model/TimelineCursor.h"

#include <algorithm>

namespace flash {
namespace {

// Sprite instances and objects shown by buttons on stage, nested ones included
// (inert ones below the nesting bound are not reached).
uint32_t countSprites(const DisplayList& list, uint32_t nesting = 0)
{
    uint32_t count = 0;
    if (nesting > TimelineEnvironment::kMaxNesting)
        return count;
    for (const auto& [depth, object] : list.objects()) {
        if (!object)
            continue;
        if (object->sprite) {
            ++count;
            if (object->sprite->children)
                count += countSprites(*object->sprite->children, nesting + 1);
        } else if (object->buttonChildren) {
            count += uint32_t(object->buttonChildren->objects().size())
                + countSprites(*object->buttonChildren, nesting + 1);
        }
    }
    return count;
}

} // namespace

TimelinePlayer::TimelinePlayer(std::shared_ptr<const Movie> movie)
    : m_movie(movie ? std::move(movie) : std::make_shared<const Movie>())
{
    m_root.children = std::make_unique<DisplayList>();
}

void TimelinePlayer::setActionRunner(ActionRunner* runner)
{
    m_runner = runner ? runner : &m_timelineActions;
}

template<typename Step>
void TimelinePlayer::withRootCursor(Step&& step)
{
    // Sprites being replayed by a goto only ever run timeline actions.
    TimelineEnvironment environment{*m_movie, m_runner, &m_timelineActions};
    // However a movie nests and multiplies its sprites, what stays on stage is bounded.
    const uint32_t live = countSprites(*m_root.children);
    environment.spriteStartsLeft = live >= TimelineEnvironment::kMaxLiveSprites
        ? 0
        : std::min(TimelineEnvironment::kMaxSpriteStartsPerStep, TimelineEnvironment::kMaxLiveSprites - live);
    TimelineCursor root(environment, m_movie->timeline, m_root);
    root.setLooping(m_looping);
    step(root);
}

void TimelinePlayer::restart(bool playing)
{
    m_root.playing = playing;
    withRootCursor([](TimelineCursor& root) {
        root.enterFirstFrame();
        root.runPendingActions();
    });
}

void TimelinePlayer::advance()
{
    withRootCursor([](TimelineCursor& root) {
        root.tick();
        root.runPendingActions();
    });
}

void TimelinePlayer::gotoFrame(int64_t frame)
{
    const uint32_t count = frameCount();
    if (count == 0)
        return;
    const auto target = uint32_t(std::clamp<int64_t>(frame, 0, count - 1));
    withRootCursor([target](TimelineCursor& root) {
        root.gotoFrame(target);
        root.runPendingActions();
    });
}

} // namespace flash
