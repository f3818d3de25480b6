// The frame actions that plain animations rely on: stop, play and the gotos.
#pragma once

#include "flash/model/ActionRunner.h"

namespace flash {

// Runs ActionStop, ActionPlay, ActionNextFrame, ActionPreviousFrame,
// ActionGotoFrame, ActionGoToLabel and ActionGotoFrame2 with a constant
// argument pushed just before it; every other action is stepped over by its
// length. A script interpreter replaces this runner when scripts are supported.
class TimelineActions final : public ActionRunner {
public:
    void run(std::span<const uint8_t> actions, TimelineControl& owner) override;
};

} // namespace flash
