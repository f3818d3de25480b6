// Key reads the input state the host keeps; the events themselves come from the
// player through the input scripts, which broadcast onKeyDown and onKeyUp.
#include "flash/scripting/KeyClass.h"

#include "flash/input/KeyCodes.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/StageHost.h"

namespace flash {
namespace {

using script::CallContext;
using script::Value;

const InputState& inputOf(CallContext& c)
{
    return hostOf(c).input();
}

Value isDown(CallContext& c)
{
    return Value(inputOf(c).isDown(c.vm.toNumber(c.arg(0))));
}

// Caps lock (20), num lock (144) and scroll lock (145) keep a toggled state.
Value isToggled(CallContext& c)
{
    const double code = c.vm.toNumber(c.arg(0));
    const InputState& input = inputOf(c);
    return Value(code == key::CapsLock ? input.capsLock : code == 144 ? input.numLock : code == 145 && input.scrollLock);
}

Value getCode(CallContext& c)
{
    return Value(double(inputOf(c).lastCode));
}

Value getAscii(CallContext& c)
{
    return Value(double(inputOf(c).lastCharacter));
}

Value isAccessible(CallContext&)
{
    return Value(false);
}

struct Constant {
    const char* name;
    int code;
};

constexpr Constant kConstants[] = {
    {"ALT", key::Alt},       {"BACKSPACE", key::Backspace}, {"CAPSLOCK", key::CapsLock}, {"CONTROL", key::Control},
    {"DELETEKEY", key::Delete}, {"DOWN", key::Down},        {"END", key::End},            {"ENTER", key::Enter},
    {"ESCAPE", key::Escape}, {"HOME", key::Home},           {"INSERT", key::Insert},      {"LEFT", key::Left},
    {"PGDN", key::PageDown}, {"PGUP", key::PageUp},         {"RIGHT", key::Right},        {"SHIFT", key::Shift},
    {"SPACE", key::Space},   {"TAB", key::Tab},             {"UP", key::Up},
};

} // namespace

void installKey(script::Interpreter& vm)
{
    script::Object* keyObject = vm.newObject();
    script::initializeBroadcaster(vm, *keyObject);
    script::defineMethod(vm, *keyObject, "isDown", isDown);
    script::defineMethod(vm, *keyObject, "isToggled", isToggled);
    script::defineMethod(vm, *keyObject, "getCode", getCode);
    script::defineMethod(vm, *keyObject, "getAscii", getAscii);
    script::defineMethod(vm, *keyObject, "isAccessible", isAccessible);
    for (const Constant& k : kConstants)
        script::defineConstant(vm, *keyObject, k.name, Value(k.code));
    vm.define(*vm.global(), "Key", Value(keyObject));
}

} // namespace flash
