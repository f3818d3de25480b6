// The frame tick's order of work.
#include "flash/scripting/FrameTick.h"

#include "flash/scripting/ScriptRuntime.h"

namespace flash {

void runFrameTick(Stage& stage, StageScripts& scripts, ScriptRuntime* runtime, TickStart start)
{
    if (start == TickStart::Advance)
        stage.advance();
    stage.runPendingWork(scripts);
    stage.dispatchEnterFrame(scripts);
    stage.runPendingWork(scripts);
    if (runtime) {
        runtime->finishTick();
        stage.runPendingWork(scripts);
    }
    stage.finishRemovals(scripts);
    if (runtime)
        runtime->collectIfDue();
}

} // namespace flash
