#include "flash/scripting/bitmap/BitmapScriptValues.h"

#include "flash/script/Conversions.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Interpreter.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <array>
#include <cmath>
#include <string_view>

namespace flash {
namespace {

using script::Value;

constexpr const char* kStoreMember = "__pixels";

template<size_t N>
void readFinite(script::Interpreter& vm, const Value& object, const std::array<const char*, N>& names,
                const std::array<double*, N>& fields)
{
    if (!object.isObject())
        return;
    for (size_t i = 0; i < N; ++i) {
        const double v = script::numberMember(vm, object, names[i]);
        if (std::isfinite(v))
            *fields[i] = v;
    }
}

} // namespace

size_t BitmapStore::byteSize() const
{
    return Object::byteSize() + sizeof(BitmapStore) - sizeof(Object) +
           (surface ? surface->pixels.size() * sizeof(uint32_t) : 0);
}

BitmapStore* storeOf(const Value& value)
{
    script::Object* object = value.toObjectOrNull();
    const script::Property* p = object ? script::ownProperty(*object, kStoreMember) : nullptr;
    return p ? dynamic_cast<BitmapStore*>(p->value.toObjectOrNull()) : nullptr;
}

std::shared_ptr<BitmapSurface> surfaceOf(const Value& value)
{
    const BitmapStore* store = storeOf(value);
    return store && store->surface && !store->surface->isEmpty() ? store->surface : nullptr;
}

void giveStore(script::Interpreter& vm, script::Object& object, std::shared_ptr<BitmapSurface> surface)
{
    auto* store = vm.heap().make<BitmapStore>();
    store->surface = std::move(surface);
    vm.define(object, kStoreMember, Value(static_cast<script::Object*>(store)),
              script::PropertyFlag::DontEnum | script::PropertyFlag::DontDelete);
    if (store->surface) {
        // Pixels count against the script heap like any storage a script makes grow.
        vm.heap().account(store->surface->pixels.size() * sizeof(uint32_t));
        if (vm.heap().isOverLimit() && vm.isRunning())
            vm.checkBudget();
    }
}

Value newBitmapData(script::CallContext& c, std::shared_ptr<BitmapSurface> surface)
{
    if (!surface)
        return {};
    const Value made = c.vm.construct(c.callee.data(), {});
    if (script::Object* object = made.toObjectOrNull(); object && storeOf(made)) {
        giveStore(c.vm, *object, std::move(surface));
        return made;
    }
    return {};
}

uint32_t uint32Arg(script::CallContext& c, size_t i, uint32_t fallback)
{
    return c.arg(i).isUndefined() ? fallback : script::toUint32(c.vm.toNumber(c.arg(i)));
}

int coordinateArg(script::CallContext& c, size_t i, int fallback)
{
    return c.arg(i).isUndefined() ? fallback : pixelCoordinate(c.vm.toNumber(c.arg(i)));
}

bool flagArg(script::CallContext& c, size_t i, bool fallback)
{
    return c.arg(i).isUndefined() ? fallback : c.vm.toBoolean(c.arg(i));
}

PixelRect rectangleOf(script::Interpreter& vm, const Value& value)
{
    if (!value.isObject())
        return {};
    auto member = [&](std::string_view name) { return pixelCoordinate(script::numberMember(vm, value, name)); };
    return {member("x"), member("y"), member("width"), member("height")};
}

PixelPoint pointOf(script::Interpreter& vm, const Value& value)
{
    if (!value.isObject())
        return {};
    auto member = [&](std::string_view name) { return pixelCoordinate(script::numberMember(vm, value, name)); };
    return {member("x"), member("y")};
}

Matrix matrixOf(script::Interpreter& vm, const Value& value)
{
    Matrix m;
    readFinite<6>(vm, value, {"a", "b", "c", "d", "tx", "ty"}, {&m.a, &m.b, &m.c, &m.d, &m.tx, &m.ty});
    return m;
}

ColorTransform colorTransformOf(script::Interpreter& vm, const Value& value)
{
    ColorTransform t;
    readFinite<8>(vm, value,
                  {"redMultiplier", "greenMultiplier", "blueMultiplier", "alphaMultiplier", "redOffset", "greenOffset",
                   "blueOffset", "alphaOffset"},
                  {&t.rMult, &t.gMult, &t.bMult, &t.aMult, &t.rAdd, &t.gAdd, &t.bAdd, &t.aAdd});
    return t;
}

BlendMode blendModeOrNormal(script::Interpreter& vm, const Value& value)
{
    // ORDER: BlendMode's values from 1 (normal) to 14 (hardlight).
    static constexpr std::array<std::string_view, 14> kNames{
        "normal", "layer",    "multiply", "screen", "lighten", "darken",  "difference",
        "add",    "subtract", "invert",   "alpha",  "erase",   "overlay", "hardlight"};
    if (value.isNumber()) {
        const double n = value.asNumber();
        return n >= 2 && n <= 14 ? BlendMode(int(n)) : BlendMode::Normal;
    }
    if (!value.isString())
        return BlendMode::Normal;
    const std::string name = vm.toString(value).toStd();
    for (size_t i = 1; i < kNames.size(); ++i) {
        if (name == kNames[i])
            return BlendMode(i + 1);
    }
    return BlendMode::Normal;
}

Value rectangleValue(script::Interpreter& vm, const PixelRect& rect)
{
    const Value geom = vm.getMember(vm.getMember(Value(vm.global()), "flash"), "geom");
    const Value constructor = vm.getMember(geom, "Rectangle");
    if (script::Object* f = constructor.toObjectOrNull(); f && f->isFunction()) {
        const Value args[] = {Value(rect.x), Value(rect.y), Value(rect.width), Value(rect.height)};
        const Value made = vm.construct(constructor, args);
        if (made.isObject())
            return made;
    }
    script::Object* plain = vm.newObject();
    script::setNumberMember(vm, Value(plain), "x", rect.x);
    script::setNumberMember(vm, Value(plain), "y", rect.y);
    script::setNumberMember(vm, Value(plain), "width", rect.width);
    script::setNumberMember(vm, Value(plain), "height", rect.height);
    return Value(plain);
}

} // namespace flash
