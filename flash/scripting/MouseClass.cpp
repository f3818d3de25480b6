// Mouse.hide and Mouse.show answer as the reference runtime did: whether the
// pointer was shown before the call (1 or 0).
#include "flash/scripting/MouseClass.h"

#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/StageHost.h"

namespace flash {
namespace {

using script::CallContext;
using script::Value;

Value setHidden(CallContext& c, bool hidden)
{
    InputState& input = hostOf(c).input();
    const bool wasShown = !input.pointerHidden;
    input.pointerHidden = hidden;
    return Value(wasShown ? 1 : 0);
}

Value hide(CallContext& c)
{
    return setHidden(c, true);
}

Value show(CallContext& c)
{
    return setHidden(c, false);
}

} // namespace

void installMouse(script::Interpreter& vm)
{
    script::Object* mouse = vm.newObject();
    script::initializeBroadcaster(vm, *mouse);
    script::defineMethod(vm, *mouse, "hide", hide);
    script::defineMethod(vm, *mouse, "show", show);
    vm.define(*vm.global(), "Mouse", Value(mouse));
}

} // namespace flash
