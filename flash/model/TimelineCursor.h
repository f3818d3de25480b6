// One timeline in motion (the main timeline or a sprite instance): its frames,
// its display list, its gotos and its frame actions.
#pragma once

#include "flash/model/ActionRunner.h"
#include "flash/model/DisplayList.h"

namespace flash {

// Shared by every cursor of one movie during one operation (a frame, a goto).
struct TimelineEnvironment {
    const Movie& movie;
    ActionRunner* liveRunner = nullptr;    // runs the actions of frames entered by playing
    ActionRunner* catchUpRunner = nullptr; // runs sprite actions while a goto replays frames
    // Bounds a hostile movie cannot talk its way past.
    uint32_t spriteStartsLeft = kMaxSpriteStartsPerStep;
    uint64_t catchUpTicksLeft = 2'000'000;

    static constexpr uint32_t kMaxNesting = 32;
    static constexpr uint32_t kMaxSpriteStartsPerStep = 20'000;
    static constexpr uint32_t kMaxLiveSprites = 50'000;
    static constexpr uint32_t kMaxActionRounds = 16; // goto chains within one frame
    static constexpr uint32_t kMaxReplayedAge = 4096; // frames a new sprite is replayed through
};

class TimelineCursor final : public TimelineControl {
public:
    enum class Mode { Live, CatchUp };

    TimelineCursor(TimelineEnvironment& environment, const Timeline& timeline, SpriteState& state,
                   uint32_t nesting = 0, Mode mode = Mode::Live);

    // Loop back to the first frame at the end (sprites always do; the movie when its loop setting is on).
    void setLooping(bool looping) { m_looping = looping; }

    // Shows the first frame of a timeline that has shown nothing yet.
    void enterFirstFrame();
    // One frame of playing: sprites already on stage advance, then this timeline if it is playing.
    void tick();
    // Runs the actions of every frame entered and not yet acted on, this timeline first, then its sprites.
    void runPendingActions();
    // Runs the pending actions of the sprites only; this timeline's pending actions are dropped.
    void runChildActionsOnly();

    // TimelineControl
    void play() override { m_state.playing = true; }
    void stop() override { m_state.playing = false; }
    void gotoFrame(uint32_t frame) override;
    bool gotoLabel(const std::string& label) override;
    [[nodiscard]] uint32_t currentFrame() const override { return m_state.currentFrame; }
    [[nodiscard]] uint32_t frameCount() const override { return uint32_t(m_timeline.frames.size()); }

private:
    [[nodiscard]] bool isTooDeep() const { return m_nesting > TimelineEnvironment::kMaxNesting; }
    [[nodiscard]] ActionRunner* runner() const;
    [[nodiscard]] DisplayList& list() { return *m_state.children; }

    void stepForward();
    void enterFrame(uint32_t frame);
    void replayForwardTo(uint32_t target);
    void rebuildTo(uint32_t target);
    void tickChildren(Mode mode);
    // Starts the sprites and buttons of `list` that have not started; `nesting` is the list's owner's.
    void startNewSprites(DisplayList& list, uint32_t currentFrame, Mode mode, uint32_t nesting);
    void startSprite(DisplayObject& object, uint32_t age, Mode mode, uint32_t nesting);
    void startButton(DisplayObject& object, uint32_t age, Mode mode, uint32_t nesting);
    void runOwnActions();
    [[nodiscard]] TimelineCursor childCursor(DisplayObject& object, Mode mode, uint32_t nesting);
    // Calls `visit` with a cursor on each sprite instance of this timeline's display list, in depth order,
    // those shown by its buttons included.
    template<typename Visit>
    void forEachSprite(Mode mode, Visit&& visit);
    template<typename Visit>
    void forEachSpriteIn(DisplayList& list, uint32_t nesting, Mode mode, Visit& visit);

    TimelineEnvironment& m_env;
    const Timeline& m_timeline;
    SpriteState& m_state;
    uint32_t m_nesting;
    Mode m_mode;
    bool m_looping = true;
};

} // namespace flash
