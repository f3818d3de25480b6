// The seam between timelines and the code that runs their frame actions.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace flash {

// What frame actions may do to the timeline that owns them (the main timeline or a sprite).
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

// Runs one DoAction block on behalf of `owner`. Must cope with any bytes.
class ActionRunner {
public:
    virtual ~ActionRunner() = default;
    virtual void run(std::span<const uint8_t> actions, TimelineControl& owner) = 0;
};

} // namespace flash
