// Frame stepping, gotos and frame actions for one timeline and its sprites.
//
// A goto shows what playing would have shown: forwards it replays each skipped
// frame (the sprites on stage advance with it); backwards it rebuilds from the
// first frame, keeping sprite instances that were placed on the same frame with
// the same character, and replays each newly started sprite through the frames
// it would have played since it was placed. The skipped frames' own actions are
// not run; sprites being replayed run theirs through the catch-up runner.
#include "flash/model/TimelineCursor.h"

#include "flash/model/DisplayListBuilder.h"

#include <algorithm>

namespace flash {
namespace {

// A sprite older than the replay bound is replayed through an age with the same
// phase in its loop: exact for plain loops, close enough for the rest.
uint32_t boundedAge(uint32_t age, uint32_t frameCount)
{
    constexpr uint32_t bound = TimelineEnvironment::kMaxReplayedAge;
    if (age <= bound || frameCount == 0 || frameCount >= bound)
        return std::min(age, bound);
    const uint32_t excessLoops = (age - bound + frameCount - 1) / frameCount;
    return age - excessLoops * frameCount;
}

} // namespace

TimelineCursor::TimelineCursor(TimelineEnvironment& environment, const Timeline& timeline, SpriteState& state,
                               uint32_t nesting, Mode mode)
    : m_env(environment), m_timeline(timeline), m_state(state), m_nesting(nesting), m_mode(mode)
{
    if (!m_state.children)
        m_state.children = std::make_unique<DisplayList>();
}

ActionRunner* TimelineCursor::runner() const
{
    return m_mode == Mode::Live ? m_env.liveRunner : m_env.catchUpRunner;
}

TimelineCursor TimelineCursor::childCursor(DisplayObject& object, Mode mode, uint32_t nesting)
{
    return TimelineCursor(m_env, object.sprite->def->timeline, *object.sprite, nesting + 1, mode);
}

void TimelineCursor::enterFirstFrame()
{
    list().clear();
    m_state.currentFrame = 0;
    m_state.actionsPending = false;
    if (isTooDeep() || frameCount() == 0)
        return;
    enterFrame(0);
}

void TimelineCursor::tick()
{
    if (isTooDeep())
        return;
    tickChildren(m_mode);
    if (m_state.playing)
        stepForward();
}

void TimelineCursor::stepForward()
{
    const uint32_t count = frameCount();
    if (count <= 1)
        return;
    if (m_state.currentFrame + 1 < count)
        enterFrame(m_state.currentFrame + 1);
    else if (m_looping)
        rebuildTo(0);
    else
        m_state.playing = false;
}

void TimelineCursor::enterFrame(uint32_t frame)
{
    DisplayListBuilder(m_env.movie, list()).applyFrame(m_timeline.frames[frame], frame);
    m_state.currentFrame = frame;
    m_state.actionsPending = true;
    startNewSprites(list(), frame, m_mode, m_nesting);
}

template<typename Visit>
void TimelineCursor::forEachSprite(Mode mode, Visit&& visit)
{
    forEachSpriteIn(list(), m_nesting, mode, visit);
}

template<typename Visit>
void TimelineCursor::forEachSpriteIn(DisplayList& target, uint32_t nesting, Mode mode, Visit& visit)
{
    for (auto& [depth, object] : target.objects()) {
        if (!object)
            continue;
        if (object->sprite && object->sprite->def) {
            TimelineCursor child = childCursor(*object, mode, nesting);
            visit(child);
        } else if (object->buttonChildren && nesting < TimelineEnvironment::kMaxNesting) {
            forEachSpriteIn(*object->buttonChildren, nesting + 1, mode, visit);
        }
    }
}

void TimelineCursor::tickChildren(Mode mode)
{
    forEachSprite(mode, [](TimelineCursor& child) { child.tick(); });
}

void TimelineCursor::startNewSprites(DisplayList& target, uint32_t currentFrame, Mode mode, uint32_t nesting)
{
    auto& objects = target.objects();
    for (auto it = objects.begin(); it != objects.end();) {
        DisplayObject* object = it->second.get();
        if (!object) {
            ++it;
            continue;
        }
        const uint32_t age = currentFrame >= object->placedOnFrame ? currentFrame - object->placedOnFrame : 0;
        if (!object->buttonChildren && std::holds_alternative<std::shared_ptr<const ButtonDef>>(object->character))
            startButton(*object, age, mode, nesting);
        if (object->sprite || !isSprite(object->character)) {
            ++it;
            continue;
        }
        if (m_env.spriteStartsLeft == 0) {
            // Past the bound on sprite instances the placement is dropped, so that what is on stage stops growing.
            it = objects.erase(it);
            continue;
        }
        --m_env.spriteStartsLeft;
        startSprite(*object, age, mode, nesting);
        ++it;
    }
}

void TimelineCursor::startButton(DisplayObject& object, uint32_t age, Mode mode, uint32_t nesting)
{
    const auto& button = std::get<std::shared_ptr<const ButtonDef>>(object.character);
    object.buttonChildren = std::make_unique<DisplayList>();
    // A button that shows itself, however many times, stops at the nesting and sprite bounds;
    // past them it stays empty and is drawn from its definition.
    if (!button || nesting + 1 > TimelineEnvironment::kMaxNesting)
        return;
    auto children = buildButtonState(m_env.movie, *button, object.buttonState);
    const size_t count = children->objects().size();
    if (count > m_env.spriteStartsLeft)
        return;
    m_env.spriteStartsLeft -= uint32_t(count);
    object.buttonChildren = std::move(children);
    // The records were placed with the button: their sprites have played as long as it has been on stage.
    startNewSprites(*object.buttonChildren, age, mode, nesting + 1);
}

void TimelineCursor::startSprite(DisplayObject& object, uint32_t age, Mode mode, uint32_t nesting)
{
    object.sprite = std::make_unique<SpriteState>();
    object.sprite->def = std::get<std::shared_ptr<const SpriteDef>>(object.character);
    object.sprite->children = std::make_unique<DisplayList>();
    if (nesting + 1 > TimelineEnvironment::kMaxNesting) {
        object.sprite->playing = false; // an inert instance: drawn empty, never advanced
        return;
    }

    TimelineCursor child = childCursor(object, age > 0 ? Mode::CatchUp : mode, nesting);
    child.enterFirstFrame();
    age = boundedAge(age, child.frameCount());
    // The frame it has reached keeps its actions pending, to run with everyone else's.
    for (uint32_t i = 0; i < age && m_env.catchUpTicksLeft > 0; ++i) {
        --m_env.catchUpTicksLeft;
        child.runPendingActions();
        child.tick();
    }
}

void TimelineCursor::gotoFrame(uint32_t frame)
{
    const uint32_t count = frameCount();
    if (isTooDeep() || count == 0)
        return;
    frame = std::min(frame, count - 1);
    if (frame == m_state.currentFrame)
        return;
    if (frame > m_state.currentFrame)
        replayForwardTo(frame);
    else
        rebuildTo(frame);
}

bool TimelineCursor::gotoLabel(const std::string& label)
{
    const auto frame = m_timeline.frameOfLabel(label);
    if (!frame)
        return false;
    gotoFrame(*frame);
    return true;
}

void TimelineCursor::replayForwardTo(uint32_t target)
{
    while (m_state.currentFrame < target) {
        runChildActionsOnly();
        tickChildren(Mode::CatchUp);
        DisplayListBuilder(m_env.movie, list()).applyFrame(m_timeline.frames[m_state.currentFrame + 1],
                                                           m_state.currentFrame + 1);
        ++m_state.currentFrame;
        startNewSprites(list(), m_state.currentFrame, Mode::CatchUp, m_nesting);
    }
    m_state.actionsPending = true;
}

void TimelineCursor::rebuildTo(uint32_t target)
{
    DisplayList rebuilt;
    DisplayListBuilder builder(m_env.movie, rebuilt);
    for (uint32_t frame = 0; frame <= target; ++frame)
        builder.applyFrame(m_timeline.frames[frame], frame);

    for (auto& [depth, object] : rebuilt.objects()) {
        DisplayObject* previous = list().at(depth);
        const bool samePlacement = object && previous && previous->characterId == object->characterId
            && previous->placedOnFrame == object->placedOnFrame;
        if (!samePlacement)
            continue;
        if (previous->sprite && isSprite(object->character))
            object->sprite = std::move(previous->sprite);
        object->buttonChildren = std::move(previous->buttonChildren);
    }
    list() = std::move(rebuilt);
    m_state.currentFrame = target;
    m_state.actionsPending = true;
    startNewSprites(list(), target, Mode::CatchUp, m_nesting);
}

void TimelineCursor::runPendingActions()
{
    if (isTooDeep())
        return;
    runOwnActions();
    forEachSprite(m_mode, [](TimelineCursor& child) { child.runPendingActions(); });
}

void TimelineCursor::runChildActionsOnly()
{
    m_state.actionsPending = false;
    forEachSprite(Mode::CatchUp, [](TimelineCursor& child) { child.runPendingActions(); });
}

void TimelineCursor::runOwnActions()
{
    ActionRunner* actions = runner();
    for (uint32_t round = 0; m_state.actionsPending && round < TimelineEnvironment::kMaxActionRounds; ++round) {
        m_state.actionsPending = false;
        if (!actions || m_state.currentFrame >= frameCount())
            break;
        // A goto in these actions marks the new frame pending: it runs in the next round.
        const Frame& frame = m_timeline.frames[m_state.currentFrame];
        for (const ControlTag& tag : frame.tags) {
            const auto* doAction = std::get_if<DoAction>(&tag);
            if (doAction && !doAction->initSpriteId)
                actions->run(doAction->actions, *this);
        }
    }
    m_state.actionsPending = false;
}

} // namespace flash
