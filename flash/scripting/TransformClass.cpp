// A Transform keeps its clip; each read makes new geometry objects from the
// clip's state, and each write goes straight to the clip, which the timeline
// then leaves alone as it does for any property a script set.
#include "flash/scripting/TransformClass.h"

#include "flash/script/FunctionObject.h"
#include "flash/script/Interpreter.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/StageHost.h"
#include "flash/stage/LocalBounds.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

// A new instance of flash.geom.`name`; a plain object when a script has removed the class.
Value makeGeom(script::Interpreter& vm, std::string_view name, std::span<const Value> args)
{
    const Value geom = vm.getMember(vm.getMember(Value(vm.global()), "flash"), "geom");
    const Value constructor = vm.getMember(geom, script::String(name));
    if (constructor.isObject() && constructor.asObject()->isFunction())
        return vm.construct(constructor, args);
    return Value(vm.newObject());
}

Value matrixValue(script::Interpreter& vm, const Matrix& m)
{
    const std::array<Value, 6> args{Value(m.a), Value(m.b), Value(m.c), Value(m.d), Value(m.tx / kTwipsPerPixel),
                                    Value(m.ty / kTwipsPerPixel)};
    return makeGeom(vm, "Matrix", args);
}

Value colorValue(script::Interpreter& vm, const ColorTransform& t)
{
    const std::array<Value, 8> args{Value(t.rMult), Value(t.gMult), Value(t.bMult), Value(t.aMult),
                                    Value(t.rAdd),  Value(t.gAdd),  Value(t.bAdd),  Value(t.aAdd)};
    return makeGeom(vm, "ColorTransform", args);
}

// Members are read into numbers before any clip is touched: reading them may run
// scripts (getters) that remove the clip. A member that is not a finite number
// leaves the clip's value as it was.
constexpr std::array<const char*, 6> kMatrixFields{"a", "b", "c", "d", "tx", "ty"};
constexpr std::array<const char*, 8> kColorFields{"redMultiplier", "greenMultiplier", "blueMultiplier",
                                                  "alphaMultiplier", "redOffset", "greenOffset",
                                                  "blueOffset", "alphaOffset"};

template<size_t N>
std::array<double, N> readFields(script::Interpreter& vm, const Value& object, const std::array<const char*, N>& fields)
{
    std::array<double, N> out;
    out.fill(std::nan(""));
    if (object.isObject()) {
        for (size_t i = 0; i < N; ++i)
            out[i] = script::numberMember(vm, object, fields[i]);
    }
    return out;
}

void keepFinite(double& field, double value)
{
    if (std::isfinite(value))
        field = value;
}

void applyMatrix(DisplayObject& clip, const std::array<double, 6>& m)
{
    if (!std::any_of(m.begin(), m.end(), [](double v) { return std::isfinite(v); }))
        return;
    keepFinite(clip.matrix.a, m[0]);
    keepFinite(clip.matrix.b, m[1]);
    keepFinite(clip.matrix.c, m[2]);
    keepFinite(clip.matrix.d, m[3]);
    keepFinite(clip.matrix.tx, m[4] * kTwipsPerPixel);
    keepFinite(clip.matrix.ty, m[5] * kTwipsPerPixel);
    clip.scriptLocks |= LockMatrix;
}

void applyColor(DisplayObject& clip, const std::array<double, 8>& t)
{
    if (!std::any_of(t.begin(), t.end(), [](double v) { return std::isfinite(v); }))
        return;
    ColorTransform& to = clip.colorTransform;
    double* fields[] = {&to.rMult, &to.gMult, &to.bMult, &to.aMult, &to.rAdd, &to.gAdd, &to.bAdd, &to.aAdd};
    for (size_t i = 0; i < t.size(); ++i)
        keepFinite(*fields[i], t[i]);
    clip.scriptLocks |= LockColor;
}

Value construct(CallContext& c)
{
    if (script::Object* self = c.thisObject())
        c.vm.define(*self, kTargetMember, c.arg(0), script::PropertyFlag::DontEnum);
    return {};
}

Value getMatrix(CallContext& c)
{
    const DisplayObject* clip = targetClipOf(c);
    return clip ? matrixValue(c.vm, clip->matrix) : Value();
}

Value setMatrix(CallContext& c)
{
    const auto fields = readFields(c.vm, c.arg(0), kMatrixFields);
    if (DisplayObject* clip = targetClipOf(c))
        applyMatrix(*clip, fields);
    return {};
}

Value getColorTransform(CallContext& c)
{
    const DisplayObject* clip = targetClipOf(c);
    return clip ? colorValue(c.vm, clip->colorTransform) : Value();
}

Value setColorTransform(CallContext& c)
{
    const auto fields = readFields(c.vm, c.arg(0), kColorFields);
    if (DisplayObject* clip = targetClipOf(c))
        applyColor(*clip, fields);
    return {};
}

Value getConcatenatedMatrix(CallContext& c)
{
    const DisplayObject* clip = targetClipOf(c);
    return clip ? matrixValue(c.vm, toStage(*clip)) : Value();
}

Value getConcatenatedColorTransform(CallContext& c)
{
    const DisplayObject* clip = targetClipOf(c);
    if (!clip)
        return {};
    ColorTransform total = clip->colorTransform;
    for (const DisplayObject* up = clip->parent; up; up = up->parent)
        total = up->colorTransform.multiplied(total);
    return colorValue(c.vm, total);
}

Value getPixelBounds(CallContext& c)
{
    const DisplayObject* clip = targetClipOf(c);
    if (!clip)
        return {};
    const auto bounds = contentBounds(hostOf(c.vm).stage().movie(), *clip, toStage(*clip));
    const Rect r = bounds.value_or(Rect{});
    const std::array<Value, 4> args{Value(std::floor(r.xMin / kTwipsPerPixel)), Value(std::floor(r.yMin / kTwipsPerPixel)),
                                    Value(std::ceil((r.xMax - r.xMin) / kTwipsPerPixel)),
                                    Value(std::ceil((r.yMax - r.yMin) / kTwipsPerPixel))};
    return makeGeom(c.vm, "Rectangle", args);
}

} // namespace

void installTransform(script::Interpreter& vm)
{
    const script::LibraryClass transform =
        script::defineLibraryClass(vm, *script::ensurePackage(vm, "flash.geom"), "Transform", construct);
    script::defineAccessor(vm, *transform.prototype, "matrix", getMatrix, setMatrix);
    script::defineAccessor(vm, *transform.prototype, "colorTransform", getColorTransform, setColorTransform);
    script::defineAccessor(vm, *transform.prototype, "concatenatedMatrix", getConcatenatedMatrix, nullptr);
    script::defineAccessor(vm, *transform.prototype, "concatenatedColorTransform", getConcatenatedColorTransform,
                           nullptr);
    script::defineAccessor(vm, *transform.prototype, "pixelBounds", getPixelBounds, nullptr);
}

Value transformOf(script::Interpreter& vm, const Value& clip)
{
    const std::array<Value, 1> args{clip};
    return makeGeom(vm, "Transform", args);
}

void assignTransform(script::Interpreter& vm, ObjectHandle clip, const Value& value)
{
    if (!value.isObject())
        return;
    const auto matrix = readFields(vm, vm.getMember(value, "matrix"), kMatrixFields);
    const auto color = readFields(vm, vm.getMember(value, "colorTransform"), kColorFields);
    if (DisplayObject* object = hostOf(vm).stage().find(clip)) {
        applyMatrix(*object, matrix);
        applyColor(*object, color);
    }
}

} // namespace flash
