// new Color(target) keeps its target clip (an object or a path); each call reads
// or changes that clip's colour transform, which the timeline then leaves alone.
#include "flash/scripting/ColorClass.h"

#include "flash/script/Conversions.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/StageHost.h"

#include <algorithm>
#include <cmath>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

double member(CallContext& c, const Value& object, const char* name, double fallback)
{
    const Value value = c.vm.getMember(object, name);
    if (value.isUndefined())
        return fallback;
    const double number = c.vm.toNumber(value);
    return std::isfinite(number) ? number : fallback;
}

Value construct(CallContext& c)
{
    if (script::Object* self = c.thisObject())
        c.vm.define(*self, kTargetMember, c.arg(0));
    return {};
}

Value setRGB(CallContext& c)
{
    DisplayObject* clip = targetClipOf(c);
    if (!clip)
        return {};
    const uint32_t rgb = script::toUint32(c.vm.toNumber(c.arg(0)));
    ColorTransform& t = clip->colorTransform;
    t.rMult = t.gMult = t.bMult = 0;
    t.rAdd = (rgb >> 16) & 0xff;
    t.gAdd = (rgb >> 8) & 0xff;
    t.bAdd = rgb & 0xff;
    clip->scriptLocks |= LockColor;
    return {};
}

Value getRGB(CallContext& c)
{
    DisplayObject* clip = targetClipOf(c);
    if (!clip)
        return {};
    const ColorTransform& t = clip->colorTransform;
    auto channel = [](double v) { return uint32_t(std::clamp(v, 0.0, 255.0)); };
    return Value(double((channel(t.rAdd) << 16) | (channel(t.gAdd) << 8) | channel(t.bAdd)));
}

Value setTransform(CallContext& c)
{
    DisplayObject* clip = targetClipOf(c);
    const Value given = c.arg(0);
    if (!clip || !given.isObject())
        return {};
    ColorTransform& t = clip->colorTransform;
    t.rMult = member(c, given, "ra", t.rMult * 100) / 100;
    t.gMult = member(c, given, "ga", t.gMult * 100) / 100;
    t.bMult = member(c, given, "ba", t.bMult * 100) / 100;
    t.aMult = member(c, given, "aa", t.aMult * 100) / 100;
    t.rAdd = member(c, given, "rb", t.rAdd);
    t.gAdd = member(c, given, "gb", t.gAdd);
    t.bAdd = member(c, given, "bb", t.bAdd);
    t.aAdd = member(c, given, "ab", t.aAdd);
    clip->scriptLocks |= LockColor;
    return {};
}

Value getTransform(CallContext& c)
{
    DisplayObject* clip = targetClipOf(c);
    if (!clip)
        return {};
    const ColorTransform& t = clip->colorTransform;
    script::Object* result = c.vm.newObject();
    const auto put = [&](const char* name, double value) { c.vm.setMember(Value(result), name, Value(value)); };
    put("ra", t.rMult * 100);
    put("rb", t.rAdd);
    put("ga", t.gMult * 100);
    put("gb", t.gAdd);
    put("ba", t.bMult * 100);
    put("bb", t.bAdd);
    put("aa", t.aMult * 100);
    put("ab", t.aAdd);
    return Value(result);
}

} // namespace

void installColor(script::Interpreter& vm)
{
    script::Object* prototype = vm.newObject();
    script::FunctionObject* colorClass = vm.newConstructor(construct, prototype);
    vm.define(*prototype, "setRGB", Value(vm.newNative(setRGB)));
    vm.define(*prototype, "getRGB", Value(vm.newNative(getRGB)));
    vm.define(*prototype, "setTransform", Value(vm.newNative(setTransform)));
    vm.define(*prototype, "getTransform", Value(vm.newNative(getTransform)));
    vm.define(*vm.global(), "Color", Value(colorClass));
}

} // namespace flash
