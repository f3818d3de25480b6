// The frame actions that plain animations rely on: stop, play and the gotos,
// for a stage played without a script interpreter.
#pragma once

#include "flash/stage/StageScripts.h"

#include <cstdint>
#include <span>
#include <string>

namespace flash {

// What frame actions may do to the timeline that owns them.
class TimelineControl {
public:
    virtual ~TimelineControl() = default;
    virtual void play() = 0;
    virtual void stop() = 0;
    // Shows `frame` (0-based); a frame past the end shows the last one.
    virtual void gotoFrame(uint32_t frame) = 0;
    // Returns false, changing nothing, when no frame carries `label`.
    virtual bool gotoLabel(const std::string& label) = 0;
    [[nodiscard]] virtual uint32_t currentFrame() const = 0;
    [[nodiscard]] virtual uint32_t frameCount() const = 0;
};

// Runs ActionStop, ActionPlay, ActionNextFrame, ActionPreviousFrame,
// ActionGotoFrame, ActionGoToLabel and ActionGotoFrame2 with a constant
// argument pushed just before it; every other action is stepped over by its
// length. Must cope with any bytes.
void runFrameControl(std::span<const uint8_t> actions, TimelineControl& owner);

// Frame actions through runFrameControl; no other script runs.
class FrameControlScripts final : public StageScripts {
public:
    void runInitActions(Stage&, DisplayObject&, const DoAction&) override { }
    void constructClip(Stage&, DisplayObject&) override { }
    void runFrameActions(Stage& stage, DisplayObject& clip, const DoAction& action) override;
    void clipEvent(Stage&, DisplayObject&, ClipEvent) override { }
};

} // namespace flash
