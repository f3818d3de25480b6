// The engine's facade: one movie, its timeline, its renderer and its frame clock.
#pragma once

#include "flash/parse/MovieLoader.h"
#include "flash/input/KeyEvent.h"
#include "flash/media/Mixer.h"
#include "flash/media/SoundStage.h"
#include "flash/input/PointerTracker.h"
#include "flash/player/FrameClock.h"
#include "flash/render/Renderer.h"
#include "flash/render/SceneChanges.h"
#include "flash/scripting/StageHost.h"
#include "flash/stage/Stage.h"
#include "flash/stage/StageScripts.h"

#include <QImage>
#include <QSize>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

class QPainter;

namespace flash {

enum class StartPlaying : uint8_t { No, Yes };

class ScriptRuntime;

// What getTimer and the timers count: the wall clock, or one frame interval per
// tick (headless runs, which do not wait between ticks).
enum class ScriptClock : uint8_t { Wall, Ticks };

struct PlayerSettings {
    StartPlaying startPlaying = StartPlaying::Yes;
    Looping looping = Looping::On;
    RenderQuality quality = RenderQuality::High;
    ScriptOutput scriptOutput;            // trace lines and script faults; faults are logged when unset
    ScriptClock scriptClock = ScriptClock::Wall;
    std::chrono::milliseconds scriptTimeLimit{15'000}; // one block or handler, before it is stopped
    // Opens a web or mail address a movie asks for from a user's click (none: nothing opens).
    std::function<void(const std::string& url)> openUrl;
};

// Every operation is accepted with or without a movie; nothing a file holds can
// make one of them throw.
class Player {
public:
    explicit Player(PlayerSettings settings = {});
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // False when the file is not a movie: the player then shows nothing.
    bool loadFile(const std::string& path);
    bool loadBytes(std::span<const uint8_t> bytes);
    void unload();
    [[nodiscard]] bool hasMovie() const { return m_movie != nullptr; }
    [[nodiscard]] const std::shared_ptr<const Movie>& movie() const { return m_movie; }
    // Why the last load failed, one line; empty after a success.
    [[nodiscard]] const std::string& loadError() const { return m_loadError; }

    void play();
    void stop();
    [[nodiscard]] bool isPlaying() const;
    // Shows `frame` (0-based), the nearest frame when out of range.
    void gotoFrame(int64_t frame);
    [[nodiscard]] int32_t currentFrame() const;
    [[nodiscard]] int32_t totalFrames() const;

    // A movie is loaded, or sent to a frame by the host, and shows that frame
    // before any of its scripts run: the frame's work waits for settle(), which
    // the host calls once its own handler has returned.
    [[nodiscard]] bool hasWorkToSettle() const { return m_workToSettle; }
    void settle();
    // One frame of playing, now: waiting work settles, every playhead advances and the scripts run.
    void advanceFrame();
    // One tick as a headless run counts them: the first settles the frame shown, the others advance.
    void tick();
    // Advances by every frame the clock says is due; returns how many (draw once if any).
    uint32_t advanceDueFrames();
    // Intervals and timeouts run at their own pace, between frames as well:
    // how long until the next is due, and running those that are (true: draw).
    [[nodiscard]] std::optional<std::chrono::milliseconds> timeUntilNextTimer() const;
    bool runDueTimers();
    [[nodiscard]] FrameClock& clock() { return m_clock; }
    [[nodiscard]] std::chrono::nanoseconds timeUntilNextFrame() const { return m_clock.timeUntilNextFrame(); }

    // Input, each handled at once: what it triggers runs before the call returns.
    // Points are in stage twips (see viewToStage).
    void pointerMove(Point stagePoint);
    // The pointer left the view: whatever it was over rolls out.
    void pointerLeave();
    void pointerPress();
    void pointerRelease();
    void wheel(int delta);
    void keyEvent(const KeyEvent& event);
    // The view's size in pixels: Stage.width and height under noScale, and onResize.
    void setViewSize(QSize viewSize);
    // The pointer's shape over the movie where it stands now.
    enum class Cursor : uint8_t { Arrow, Hand, IBeam, Hidden };
    // Text for the focused input field (typing through input methods, pasting).
    void typeText(std::u32string_view text);
    // The focused field's selection, for the clipboard; removing it (cut); selecting all.
    [[nodiscard]] std::u32string selectedText();
    void deleteSelection();
    void selectAll();
    // Whether typed text goes to a focused input field now (input methods are wanted).
    [[nodiscard]] bool acceptsText();
    [[nodiscard]] Cursor cursor();
    // Where a point of a view of `viewSize` pixels falls on the stage, in twips.
    [[nodiscard]] Point viewToStage(double x, double y, QSize viewSize) const;

    // Sound: mixes the next `frames` frames of 44.1 kHz stereo into `out`
    // (interleaved), silence without a movie. The audio output and headless
    // runs pull it; what has been pulled is the sound clock.
    void mixAudio(int16_t* out, size_t frames);
    [[nodiscard]] media::Mixer* mixer() { return m_mixer.get(); }
    // While the main timeline streams sound, the frames of 44.1 kHz sound it has
    // queued and not yet played; nothing when no stream sets the pace.
    [[nodiscard]] std::optional<size_t> streamBacklog() const;

    // The part of a view of `viewSize` pixels whose picture changed since the last
    // call (all of it at first); empty while the movie stands still.
    [[nodiscard]] QRegion takeChangedRegion(QSize viewSize);

    // Draws the current frame over a view of `viewSize` pixels; the background colour when there is no movie.
    void render(QPainter& painter, QSize viewSize);
    [[nodiscard]] QImage renderImage(QSize viewSize);
    // The stage in whole pixels; empty without a movie.
    [[nodiscard]] QSize stageSize() const;
    [[nodiscard]] const DisplayList* displayList() const;
    [[nodiscard]] Stage* stage() { return m_stage.get(); }

private:
    bool adopt(std::expected<std::shared_ptr<const Movie>, LoadError> loaded);
    // Runs what an input event left queued (frame actions of gotos, removals) and shows drawings.
    void finishEvent();
    void runTransitions(const PointerTracker::Transitions& transitions);
    template<typename Work>
    void handleInput(const char* what, Work&& work);
    template<typename Work>
    void handleUserInput(const char* what, Work&& work);
    // Playing moves things under a still pointer: it rolls over and out as if it had moved.
    void refreshPointer();
    void drawFocusRectangle(QPainter& painter, QSize viewSize);
    void installBitmapSeams();
    // Starts what the frames just entered ask of the sound, and stops streams that should stop.
    void updateSound();
    void fail(const char* stage, const char* what);

    PlayerSettings m_settings;
    std::shared_ptr<const Movie> m_movie;
    [[nodiscard]] double scriptTimeMs() const;

    std::unique_ptr<Stage> m_stage;
    std::unique_ptr<ScriptRuntime> m_runtime;   // movies with ActionScript 1 and 2
    std::unique_ptr<StageScripts> m_frameControl; // movies whose scripts this player does not run
    StageScripts* m_scripts = nullptr;
    std::chrono::steady_clock::time_point m_loadedAt;
    uint64_t m_ticks = 0;
    bool m_workToSettle = false; // the shown frame's work has yet to run
    std::unique_ptr<Renderer> m_renderer;
    SceneChanges m_changes;
    std::unique_ptr<media::Mixer> m_mixer;
    std::unique_ptr<media::SoundStage> m_sound;
    PointerTracker m_pointer;
    bool m_pointerInside = false; // the pointer is over the view, so the stage under it is tracked
    FrameClock m_clock;
    std::string m_loadError;
};

} // namespace flash
