// One tick of a movie, the whole order of work in one place.
#pragma once

#include <cstdint>

namespace flash {

class Stage;
class StageScripts;
class ScriptRuntime;

enum class TickStart : uint8_t {
    Advance, // every playhead moves on a frame first
    Settle,  // the frame shown runs its waiting work (after a load, or a goto from the host)
};

// In order: (input events come here once the input stage exists), the playheads
// advance and apply their display tags, then the queued work runs: init actions,
// the construction of new clips (class constructor, onClipEvent(load), onLoad)
// and frame actions, parents before children; enterFrame and onEnterFrame; due
// intervals and timeouts; the unload handlers of removed clips; collection at
// a safe point when enough was allocated. Drawing follows, by the caller.
// `runtime` is null for movies whose scripts are not run (only frame control is).
void runFrameTick(Stage& stage, StageScripts& scripts, ScriptRuntime* runtime, TickStart start);

} // namespace flash
