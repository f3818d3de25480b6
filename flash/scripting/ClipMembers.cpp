// Each member reads the display object directly and writes it through its handle
// once the value is converted, since a conversion may run a script that removes it.
#include "flash/scripting/ClipMembers.h"

#include "flash/script/ArrayObject.h"
#include "flash/script/Interpreter.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/FilterClasses.h"
#include "flash/scripting/StageHost.h"
#include "flash/scripting/TransformClass.h"

#include <array>
#include <cmath>

namespace flash {
namespace {

using script::Value;

// ORDER: BlendMode's values from 1 (normal) to 14 (hardlight).
constexpr std::array<std::string_view, 14> kBlendNames{"normal", "layer", "multiply", "screen", "lighten", "darken",
                                                      "difference", "add", "subtract", "invert", "alpha", "erase",
                                                      "overlay", "hardlight"};

// A blend mode by name or by its number; unknown values change nothing.
std::optional<BlendMode> blendModeOf(script::Interpreter& vm, const Value& value)
{
    if (value.isNumber()) {
        const double n = value.asNumber();
        if (n >= 1 && n <= 14)
            return BlendMode(int(n) == 1 ? 0 : int(n));
        return std::nullopt;
    }
    const std::string name = vm.toString(value).toStd();
    for (size_t i = 0; i < kBlendNames.size(); ++i) {
        if (name == kBlendNames[i])
            return BlendMode(i == 0 ? 0 : i + 1);
    }
    return std::nullopt;
}

Value getBlendMode(script::Interpreter&, script::Object&, DisplayObject& object)
{
    const size_t index = size_t(object.blendMode) <= 1 ? 0 : size_t(object.blendMode) - 1;
    return Value(index < kBlendNames.size() ? kBlendNames[index] : kBlendNames[0]);
}

void setBlendMode(script::Interpreter& vm, StageHost& host, ObjectHandle handle, const Value& value)
{
    const auto mode = blendModeOf(vm, value);
    if (DisplayObject* object = host.stage().find(handle); object && mode)
        object->blendMode = *mode;
}

Value getCacheAsBitmap(script::Interpreter&, script::Object&, DisplayObject& object)
{
    return Value(object.cacheAsBitmap);
}

void setCacheAsBitmap(script::Interpreter& vm, StageHost& host, ObjectHandle handle, const Value& value)
{
    const bool on = vm.toBoolean(value);
    if (DisplayObject* object = host.stage().find(handle))
        object->cacheAsBitmap = on;
}

Value getScalingGrid(script::Interpreter& vm, script::Object&, DisplayObject& object)
{
    if (!object.scalingGrid)
        return Value();
    const Rect& r = *object.scalingGrid;
    const std::array<Value, 4> args{Value(r.xMin / kTwipsPerPixel), Value(r.yMin / kTwipsPerPixel),
                                    Value(r.width() / kTwipsPerPixel), Value(r.height() / kTwipsPerPixel)};
    const Value geom = vm.getMember(vm.getMember(Value(vm.global()), "flash"), "geom");
    const Value rectangle = vm.getMember(geom, "Rectangle");
    return rectangle.isObject() ? vm.construct(rectangle, args) : Value();
}

// A rectangle with a positive size sets the grid; anything else lifts it.
void setScalingGrid(script::Interpreter& vm, StageHost& host, ObjectHandle handle, const Value& value)
{
    std::optional<Rect> grid;
    if (value.isObject()) {
        const double x = script::numberMember(vm, value, "x"), y = script::numberMember(vm, value, "y");
        const double w = script::numberMember(vm, value, "width"), h = script::numberMember(vm, value, "height");
        constexpr double kLimit = 1e7; // pixels: far beyond any stage, and safely inside twips' range
        const auto usable = [](double v) { return std::isfinite(v) && std::abs(v) < kLimit; };
        if (usable(x) && usable(y) && usable(w) && usable(h) && w > 0 && h > 0) {
            const auto twips = [](double v) { return int32_t(std::lround(v * kTwipsPerPixel)); };
            grid = Rect{twips(x), twips(x + w), twips(y), twips(y + h)};
        }
    }
    if (DisplayObject* object = host.stage().find(handle))
        object->scalingGrid = grid;
}

Value getTransform(script::Interpreter& vm, script::Object& self, DisplayObject&)
{
    return transformOf(vm, Value(&self));
}

void setTransform(script::Interpreter& vm, StageHost&, ObjectHandle handle, const Value& value)
{
    assignTransform(vm, handle, value);
}

// A new array of copies each time: changing a filter read back changes nothing until it is assigned.
Value getFilters(script::Interpreter& vm, script::Object&, DisplayObject& object)
{
    script::ArrayObject* array = vm.newArray();
    for (const TypedFilter& filter : object.filters)
        array->push(filterObject(vm, filter));
    return Value(static_cast<script::Object*>(array));
}

void setFilters(script::Interpreter& vm, StageHost& host, ObjectHandle handle, const Value& value)
{
    std::vector<TypedFilter> filters = filtersOf(vm, value);
    if (DisplayObject* object = host.stage().find(handle))
        object->filters = std::move(filters);
}

constexpr ClipMember kMembers[] = {
    {"blendMode", getBlendMode, setBlendMode},
    {"cacheAsBitmap", getCacheAsBitmap, setCacheAsBitmap},
    {"filters", getFilters, setFilters},
    {"scale9Grid", getScalingGrid, setScalingGrid},
    {"transform", getTransform, setTransform},
};

constexpr int kFirstVersion = 8;

} // namespace

const ClipMember* clipMemberNamed(const script::String& name, script::CaseMode mode, int swfVersion)
{
    if (swfVersion < kFirstVersion)
        return nullptr;
    for (const ClipMember& member : kMembers) {
        if (name.equals(member.name, mode))
            return &member;
    }
    return nullptr;
}

} // namespace flash
