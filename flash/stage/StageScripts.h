// The seam between the live stage and the code that runs its scripts: the
// stage queues work as its timelines move, and hands each piece to this
// interface in the tick's order. The stage itself runs no script.
#pragma once

#include "flash/model/DisplayTags.h"

namespace flash {

class Stage;
struct DisplayObject;

enum class ClipEvent : uint8_t { Load, EnterFrame, Unload };

class StageScripts {
public:
    virtual ~StageScripts() = default;
    // A DoInitAction block, once per sprite, before the frame's other actions; `owner` is the timeline holding it.
    virtual void runInitActions(Stage& stage, DisplayObject& owner, const DoAction& action) = 0;
    // A newly placed clip: its class constructor where one is registered, then its load handlers.
    virtual void constructClip(Stage& stage, DisplayObject& clip) = 0;
    // One DoAction block of the frame `clip` has entered.
    virtual void runFrameActions(Stage& stage, DisplayObject& clip, const DoAction& action) = 0;
    // enterFrame and unload handlers of a clip.
    virtual void clipEvent(Stage& stage, DisplayObject& clip, ClipEvent event) = 0;
};

} // namespace flash
