// flash.geom.ColorTransform: per-channel multipliers and offsets, the rgb
// shortcut that sets a solid colour, and concatenation.
#include "flash/script/Conversions.h"
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <array>

namespace flash::script {

namespace {

constexpr std::array<const char*, 8> kFields = { "redMultiplier", "greenMultiplier", "blueMultiplier", "alphaMultiplier",
                                                 "redOffset", "greenOffset", "blueOffset", "alphaOffset" };
constexpr std::array<double, 8> kIdentity = { 1, 1, 1, 1, 0, 0, 0, 0 };

using Channels = std::array<double, 8>;

Channels channelsOf(Interpreter& vm, const Value& t)
{
    Channels out {};
    for (size_t i = 0; i < kFields.size(); ++i)
        out[i] = numberMember(vm, t, kFields[i]);
    return out;
}

void store(Interpreter& vm, const Value& target, const Channels& values)
{
    for (size_t i = 0; i < kFields.size(); ++i)
        setNumberMember(vm, target, kFields[i], values[i]);
}

Value construct(CallContext& c)
{
    if (!c.isConstruct() || !c.thisObject())
        return Value();
    Channels values {};
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = numberArg(c, i, kIdentity[i]);
    store(c.vm, c.thisValue, values);
    return Value();
}

Value rgb(CallContext& c)
{
    const Channels t = channelsOf(c.vm, c.thisValue);
    const uint32_t r = toUint32(t[4]) & 0xFF, g = toUint32(t[5]) & 0xFF, b = toUint32(t[6]) & 0xFF;
    return Value(double(r << 16 | g << 8 | b));
}

// Setting rgb makes every pixel that colour: colour multipliers 0, offsets from the value, alpha untouched.
Value setRgb(CallContext& c)
{
    Channels t = channelsOf(c.vm, c.thisValue);
    const uint32_t value = toUint32(numberArg(c, 0));
    t[0] = t[1] = t[2] = 0;
    t[4] = double((value >> 16) & 0xFF);
    t[5] = double((value >> 8) & 0xFF);
    t[6] = double(value & 0xFF);
    store(c.vm, c.thisValue, t);
    return Value();
}

// concat(second): the result applies `second` first, then this transform.
Value concat(CallContext& c)
{
    const Channels first = channelsOf(c.vm, c.thisValue), second = channelsOf(c.vm, c.arg(0));
    Channels out {};
    for (size_t i = 0; i < 4; ++i) {
        out[i] = first[i] * second[i];
        out[i + 4] = first[i] * second[i + 4] + first[i + 4];
    }
    store(c.vm, c.thisValue, out);
    return Value();
}

Value toString(CallContext& c)
{
    static constexpr LabelledMember kMembers[] = {
        { "redMultiplier", "redMultiplier" }, { "greenMultiplier", "greenMultiplier" },
        { "blueMultiplier", "blueMultiplier" }, { "alphaMultiplier", "alphaMultiplier" },
        { "redOffset", "redOffset" }, { "greenOffset", "greenOffset" },
        { "blueOffset", "blueOffset" }, { "alphaOffset", "alphaOffset" },
    };
    return Value(describeMembers(c.vm, c.thisValue, kMembers));
}

} // namespace

void installGeomColorTransform(Interpreter& vm)
{
    const LibraryClass transform = defineLibraryClass(vm, *ensurePackage(vm, "flash.geom"), "ColorTransform", construct);
    defineAccessor(vm, *transform.prototype, "rgb", rgb, setRgb);
    transform.method(vm, "concat", concat);
    transform.method(vm, "toString", toString);
}

} // namespace flash::script
