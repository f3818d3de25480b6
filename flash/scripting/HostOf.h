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

// Color, Transform and Sound keep the clip they act on in this hidden member.
inline constexpr const char* kTargetMember = "__target";

// That clip, kept as a clip or as a target path; null once it is gone.
[[nodiscard]] inline DisplayObject* targetClipOf(script::CallContext& c)
{
    StageHost& host = hostOf(c);
    const script::Value target = c.vm.getMember(c.thisValue, kTargetMember);
    if (DisplayObject* object = host.displayObjectOf(target))
        return object;
    if (target.isString()) {
        if (script::Object* found = host.resolveTarget(nullptr, c.vm.toString(target).view()))
            return host.displayObjectOf(found);
    }
    return nullptr;
}

} // namespace flash
