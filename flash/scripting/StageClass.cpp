// Stage's properties read and write the layout the stage keeps, which the
// renderer and the pointer's mapping follow.
#include "flash/scripting/StageClass.h"

#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/StageHost.h"

#include <array>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

PlayerSettingsSeen& settingsOf(CallContext& c)
{
    return hostOf(c).stage().playerSettings();
}

// Under noScale the stage is as large as the view; otherwise it keeps the movie's size.
Value extent(CallContext& c, bool width)
{
    StageHost& host = hostOf(c);
    const PlayerSettingsSeen& settings = host.stage().playerSettings();
    const double view = width ? settings.viewWidth : settings.viewHeight;
    if (settings.layout.scaleMode == ScaleMode::NoScale && view > 0)
        return Value(view);
    const Rect& stage = host.stage().movie().header.stage;
    return Value(double((width ? stage.width() : stage.height()) / int32_t(kTwipsPerPixel)));
}

Value getWidth(CallContext& c)
{
    return extent(c, true);
}

Value getHeight(CallContext& c)
{
    return extent(c, false);
}

Value getScaleMode(CallContext& c)
{
    return Value(scaleModeName(settingsOf(c).layout.scaleMode));
}

Value setScaleMode(CallContext& c)
{
    const std::string name = c.vm.toString(c.arg(0)).toStd();
    if (const auto mode = scaleModeNamed(name))
        settingsOf(c).layout.scaleMode = *mode;
    return {};
}

Value getAlign(CallContext& c)
{
    return Value(alignName(settingsOf(c).layout));
}

Value setAlign(CallContext& c)
{
    const std::string align = c.vm.toString(c.arg(0)).toStd();
    flash::setAlign(settingsOf(c).layout, align);
    return {};
}

} // namespace

void installStage(script::Interpreter& vm)
{
    script::Object* stage = vm.newObject();
    script::initializeBroadcaster(vm, *stage);
    script::defineAccessor(vm, *stage, "width", getWidth, nullptr);
    script::defineAccessor(vm, *stage, "height", getHeight, nullptr);
    script::defineAccessor(vm, *stage, "scaleMode", getScaleMode, setScaleMode);
    script::defineAccessor(vm, *stage, "align", getAlign, setAlign);
    vm.define(*stage, "showMenu", Value(true), script::PropertyFlag::DontEnum);
    vm.define(*vm.global(), "Stage", Value(stage));
}

void broadcastResize(script::Interpreter& vm)
{
    const std::array<Value, 1> message{Value("onResize")};
    vm.callMethod(vm.getMember(Value(vm.global()), "Stage"), "broadcastMessage", message);
}

} // namespace flash
