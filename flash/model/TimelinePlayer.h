// The main timeline of a loaded movie, with everything on its stage.
#pragma once

#include "flash/model/DisplayList.h"
#include "flash/model/TimelineActions.h"

#include <memory>

namespace flash {

class TimelineCursor;
struct TimelineEnvironment;

class TimelinePlayer {
public:
    // A null movie is an empty one: no frames, nothing on stage.
    explicit TimelinePlayer(std::shared_ptr<const Movie> movie);

    // Who runs frame actions; null restores the built-in timeline actions.
    void setActionRunner(ActionRunner* runner);
    void setLooping(bool looping) { m_looping = looping; }

    // Back to the first frame as a freshly loaded movie shows it, its actions run.
    void restart(bool playing = true);
    // One frame of playing: the sprites advance, and the movie too unless it is stopped.
    void advance();
    // Shows `frame` (0-based) as playing up to it would; out-of-range numbers show the nearest frame.
    void gotoFrame(int64_t frame);
    void play() { m_root.playing = true; }
    void stop() { m_root.playing = false; }

    [[nodiscard]] bool isPlaying() const { return m_root.playing; }
    [[nodiscard]] uint32_t currentFrame() const { return m_root.currentFrame; }
    [[nodiscard]] uint32_t frameCount() const { return uint32_t(m_movie->timeline.frames.size()); }
    [[nodiscard]] const DisplayList& displayList() const { return *m_root.children; }
    [[nodiscard]] const std::shared_ptr<const Movie>& movie() const { return m_movie; }

private:
    template<typename Step>
    void withRootCursor(Step&& step);

    std::shared_ptr<const Movie> m_movie;
    SpriteState m_root;
    TimelineActions m_timelineActions;
    ActionRunner* m_runner = &m_timelineActions;
    bool m_looping = true;
};

} // namespace flash
