// The stage host behind a native's call: every interpreter of a live stage is
// made with one, so the library classes of the stage reach it from their calls.
#pragma once

#include "flash/script/CallContext.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/StageHost.h"

namespace flash {

[[nodiscard]] inline StageHost& hostOf(script::Interpreter& vm)
{
    return static_cast<StageHost&>(vm.host());
}

[[nodiscard]] inline StageHost& hostOf(script::CallContext& c)
{
    return hostOf(c.vm);
}

} // namespace flash
