// Each class is a table of its members in constructor order, with their
// defaults; the object keeps its class as a hidden member, the index of its
// kind of filter, so that conversion does not depend on what a script did to
// the prototype chain.
#include "flash/scripting/FilterClasses.h"

#include "flash/script/ArrayObject.h"
#include "flash/script/Interpreter.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string_view>
#include <utility>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

constexpr const char* kKind = "__filterKind";

enum class Kind : uint8_t { Number, Boolean, Text, Numbers };

struct Member {
    const char* name;
    Kind kind = Kind::Number;
    double number = 0;
    bool flag = false;
    const char* text = "";
};

constexpr Member number(const char* name, double value) { return {name, Kind::Number, value}; }
constexpr Member flag(const char* name, bool value) { return {name, Kind::Boolean, 0, value}; }
constexpr Member text(const char* name, const char* value) { return {name, Kind::Text, 0, false, value}; }
constexpr Member numbers(const char* name) { return {name, Kind::Numbers}; }

constexpr Member kDropShadow[] = {number("distance", 4), number("angle", 45), number("color", 0), number("alpha", 1),
                                  number("blurX", 4), number("blurY", 4), number("strength", 1), number("quality", 1),
                                  flag("inner", false), flag("knockout", false), flag("hideObject", false)};
constexpr Member kBlur[] = {number("blurX", 4), number("blurY", 4), number("quality", 1)};
constexpr Member kGlow[] = {number("color", 0xFF0000), number("alpha", 1), number("blurX", 6), number("blurY", 6),
                            number("strength", 2), number("quality", 1), flag("inner", false), flag("knockout", false)};
constexpr Member kBevel[] = {number("distance", 4), number("angle", 45), number("highlightColor", 0xFFFFFF),
                             number("highlightAlpha", 1), number("shadowColor", 0), number("shadowAlpha", 1),
                             number("blurX", 4), number("blurY", 4), number("strength", 1), number("quality", 1),
                             text("type", "inner"), flag("knockout", false)};
constexpr Member kGradient[] = {number("distance", 4), number("angle", 45), numbers("colors"), numbers("alphas"),
                                numbers("ratios"), number("blurX", 4), number("blurY", 4), number("strength", 1),
                                number("quality", 1), text("type", "inner"), flag("knockout", false)};
constexpr Member kConvolution[] = {number("matrixX", 0), number("matrixY", 0), numbers("matrix"), number("divisor", 1),
                                   number("bias", 0), flag("preserveAlpha", true), flag("clamp", true),
                                   number("color", 0), number("alpha", 0)};
constexpr Member kColorMatrix[] = {numbers("matrix")};

struct FilterClass {
    const char* name;
    std::span<const Member> members;
};

// In the order of TypedFilter's alternatives.
constexpr std::array<FilterClass, std::variant_size_v<TypedFilter>> kClasses{{
    {"DropShadowFilter", kDropShadow},
    {"BlurFilter", kBlur},
    {"GlowFilter", kGlow},
    {"BevelFilter", kBevel},
    {"GradientGlowFilter", kGradient},
    {"ConvolutionFilter", kConvolution},
    {"ColorMatrixFilter", kColorMatrix},
    {"GradientBevelFilter", kGradient},
}};

constexpr size_t kMaxArray = 1024; // gradient stops and matrix values a filter takes at most

std::vector<double> numbersOf(script::Interpreter& vm, const Value& array)
{
    std::vector<double> out;
    auto* object = dynamic_cast<script::ArrayObject*>(array.toObjectOrNull());
    if (!object)
        return out;
    const size_t length = std::min<size_t>(object->length(), kMaxArray);
    for (size_t i = 0; i < length; ++i)
        out.push_back(vm.toNumber(object->at(uint32_t(i))));
    return out;
}

Value arrayOf(script::Interpreter& vm, std::span<const double> values)
{
    script::ArrayObject* array = vm.newArray();
    for (double v : values)
        array->push(Value(v));
    return Value(static_cast<script::Object*>(array));
}

Value defaultOf(script::Interpreter& vm, const Member& member, size_t kind)
{
    switch (member.kind) {
    case Kind::Number: return Value(member.number);
    case Kind::Boolean: return Value(member.flag);
    case Kind::Text: return Value(vm.makeString(member.text));
    case Kind::Numbers:
        if (kind == std::variant_size_v<TypedFilter> - 2) { // ColorMatrixFilter: the identity
            const ColorMatrixFilter identity;
            return arrayOf(vm, identity.matrix);
        }
        return arrayOf(vm, {});
    }
    return {};
}

template<size_t kind>
Value construct(CallContext& c)
{
    script::Object* self = c.thisObject();
    if (!self)
        return {};
    c.vm.define(*self, kKind, Value(double(kind)), script::PropertyFlag::DontEnum);
    const auto& members = kClasses[kind].members;
    for (size_t i = 0; i < members.size(); ++i) {
        const Value given = c.arg(i);
        c.vm.setMember(c.thisValue, members[i].name, given.isUndefined() ? defaultOf(c.vm, members[i], kind) : given);
    }
    return {};
}

// Reading a filter object's members, as numbers within bounds.
struct Reader {
    script::Interpreter& vm;
    const Value& object;

    [[nodiscard]] double number(const char* name, double low, double high, double fallback) const
    {
        const double v = vm.toNumber(vm.getMember(object, name));
        return std::isfinite(v) ? std::clamp(v, low, high) : fallback;
    }
    [[nodiscard]] bool flag(const char* name) const { return vm.toBoolean(vm.getMember(object, name)); }
    [[nodiscard]] int quality() const { return int(number("quality", 0, 15, 1)); }
    [[nodiscard]] Rgba color(const char* colorName, const char* alphaName) const
    {
        const auto rgb = uint32_t(number(colorName, 0, 0xFFFFFF, 0));
        const double alpha = number(alphaName, 0, 1, 1);
        return Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), uint8_t(std::lround(alpha * 255))};
    }
    [[nodiscard]] BevelType type() const
    {
        const std::string t = vm.toString(vm.getMember(object, "type")).toStd();
        return t == "outer" ? BevelType::Outer : t == "full" ? BevelType::Full : BevelType::Inner;
    }
};

template<typename Shadowed>
void readBlurAndStrength(const Reader& r, Shadowed& f)
{
    f.blurX = r.number("blurX", 0, 255, 4);
    f.blurY = r.number("blurY", 0, 255, 4);
    f.strength = r.number("strength", 0, 255, 1);
    f.quality = r.quality();
    f.knockout = r.flag("knockout");
}

void readGradient(const Reader& r, GradientFilterFields& f)
{
    readBlurAndStrength(r, f);
    f.distance = r.number("distance", -10000, 10000, 4);
    f.angle = r.number("angle", -100000, 100000, 45);
    f.type = r.type();
    const auto colors = numbersOf(r.vm, r.vm.getMember(r.object, "colors"));
    const auto alphas = numbersOf(r.vm, r.vm.getMember(r.object, "alphas"));
    const auto ratios = numbersOf(r.vm, r.vm.getMember(r.object, "ratios"));
    const size_t count = std::min({colors.size(), alphas.size(), ratios.size()});
    for (size_t i = 0; i < count; ++i) {
        const auto rgb = uint32_t(std::clamp(std::isfinite(colors[i]) ? colors[i] : 0.0, 0.0, double(0xFFFFFF)));
        const double alpha = std::clamp(std::isfinite(alphas[i]) ? alphas[i] : 1.0, 0.0, 1.0);
        const double ratio = std::clamp(std::isfinite(ratios[i]) ? ratios[i] : 0.0, 0.0, 255.0);
        f.stops.push_back({uint8_t(ratio), Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), uint8_t(std::lround(alpha * 255))}});
    }
}

TypedFilter read(const Reader& r, size_t kind)
{
    switch (kind) {
    case 0: {
        DropShadowFilter f;
        readBlurAndStrength(r, f);
        f.color = r.color("color", "alpha");
        f.distance = r.number("distance", -10000, 10000, 4);
        f.angle = r.number("angle", -100000, 100000, 45);
        f.inner = r.flag("inner");
        f.compositeSource = !r.flag("hideObject");
        return f;
    }
    case 1: {
        BlurFilter f;
        f.blurX = r.number("blurX", 0, 255, 4);
        f.blurY = r.number("blurY", 0, 255, 4);
        f.quality = r.quality();
        return f;
    }
    case 2: {
        GlowFilter f;
        readBlurAndStrength(r, f);
        f.color = r.color("color", "alpha");
        f.inner = r.flag("inner");
        return f;
    }
    case 3: {
        BevelFilter f;
        readBlurAndStrength(r, f);
        f.highlightColor = r.color("highlightColor", "highlightAlpha");
        f.shadowColor = r.color("shadowColor", "shadowAlpha");
        f.distance = r.number("distance", -10000, 10000, 4);
        f.angle = r.number("angle", -100000, 100000, 45);
        f.type = r.type();
        return f;
    }
    case 4: {
        GradientGlowFilter f;
        readGradient(r, f);
        return f;
    }
    case 5: {
        ConvolutionFilter f;
        f.matrixX = int(r.number("matrixX", 0, 15, 0));
        f.matrixY = int(r.number("matrixY", 0, 15, 0));
        f.matrix = numbersOf(r.vm, r.vm.getMember(r.object, "matrix"));
        f.matrix.resize(size_t(f.matrixX) * size_t(f.matrixY), 0.0);
        f.divisor = r.number("divisor", -1e9, 1e9, 1);
        f.bias = r.number("bias", -1e9, 1e9, 0);
        f.preserveAlpha = r.flag("preserveAlpha");
        f.clamp = r.flag("clamp");
        f.defaultColor = r.color("color", "alpha");
        return f;
    }
    case 6: {
        ColorMatrixFilter f;
        const auto values = numbersOf(r.vm, r.vm.getMember(r.object, "matrix"));
        if (values.size() >= f.matrix.size()) {
            for (size_t i = 0; i < f.matrix.size(); ++i)
                f.matrix[i] = std::isfinite(values[i]) ? values[i] : 0.0;
        }
        return f;
    }
    default: {
        GradientBevelFilter f;
        readGradient(r, f);
        return f;
    }
    }
}

Value cloneFilter(CallContext& c)
{
    const auto filter = filterOf(c.vm, c.thisValue);
    return filter ? filterObject(c.vm, *filter) : Value();
}

void installClass(script::Interpreter& vm, script::Object& package, script::Object* base, size_t kind,
                  script::NativeFunction constructor)
{
    script::Object* prototype = vm.newObject();
    if (base)
        prototype->setProto(base);
    script::FunctionObject* made = vm.newConstructor(constructor, prototype);
    vm.define(*prototype, "clone", Value(vm.newNative(cloneFilter)), script::PropertyFlag::DontEnum);
    vm.define(package, kClasses[kind].name, Value(static_cast<script::Object*>(made)));
}

} // namespace

std::optional<TypedFilter> filterOf(script::Interpreter& vm, const Value& value)
{
    if (!value.isObject())
        return std::nullopt;
    const Value kind = vm.getMember(value, kKind);
    if (!kind.isNumber() || !(kind.asNumber() >= 0 && kind.asNumber() < double(kClasses.size())))
        return std::nullopt;
    return read(Reader{vm, value}, size_t(kind.asNumber()));
}

std::vector<TypedFilter> filtersOf(script::Interpreter& vm, const Value& array)
{
    std::vector<TypedFilter> out;
    auto* object = dynamic_cast<script::ArrayObject*>(array.toObjectOrNull());
    if (!object)
        return out;
    const size_t length = std::min<size_t>(object->length(), kMaxArray);
    for (size_t i = 0; i < length; ++i) {
        if (auto filter = filterOf(vm, object->at(uint32_t(i))))
            out.push_back(std::move(*filter));
    }
    return out;
}

Value filterObject(script::Interpreter& vm, const TypedFilter& filter)
{
    const Value package = vm.getMember(Value(vm.global()), "flash");
    const Value filters = package.isObject() ? vm.getMember(package, "filters") : Value();
    const Value constructor = filters.isObject() ? vm.getMember(filters, kClasses[filter.index()].name) : Value();
    const Value made = constructor.isObject() ? vm.construct(constructor, {}) : Value();
    if (!made.isObject())
        return {};
    const auto set = [&](const char* name, Value v) { vm.setMember(made, name, std::move(v)); };
    const auto setColor = [&](const char* colorName, const char* alphaName, Rgba rgba) {
        set(colorName, Value(double(uint32_t(rgba.r) << 16 | uint32_t(rgba.g) << 8 | rgba.b)));
        set(alphaName, Value(rgba.a / 255.0));
    };
    const auto setType = [&](BevelType type) {
        set("type", Value(vm.makeString(type == BevelType::Outer ? "outer" : type == BevelType::Full ? "full" : "inner")));
    };
    std::visit(
        [&](const auto& f) {
            using F = std::decay_t<decltype(f)>;
            if constexpr (requires { f.blurX; }) {
                set("blurX", Value(f.blurX));
                set("blurY", Value(f.blurY));
                set("quality", Value(double(f.quality)));
            }
            if constexpr (requires { f.strength; }) {
                set("strength", Value(f.strength));
                set("knockout", Value(f.knockout));
            }
            if constexpr (requires { f.distance; }) {
                set("distance", Value(f.distance));
                set("angle", Value(f.angle));
            }
            if constexpr (std::is_same_v<F, DropShadowFilter>) {
                setColor("color", "alpha", f.color);
                set("inner", Value(f.inner));
                set("hideObject", Value(!f.compositeSource));
            } else if constexpr (std::is_same_v<F, GlowFilter>) {
                setColor("color", "alpha", f.color);
                set("inner", Value(f.inner));
            } else if constexpr (std::is_same_v<F, BevelFilter>) {
                setColor("highlightColor", "highlightAlpha", f.highlightColor);
                setColor("shadowColor", "shadowAlpha", f.shadowColor);
                setType(f.type);
            } else if constexpr (std::is_base_of_v<GradientFilterFields, F>) {
                std::vector<double> colors, alphas, ratios;
                for (const GradientStop& stop : f.stops) {
                    colors.push_back(double(uint32_t(stop.color.r) << 16 | uint32_t(stop.color.g) << 8 | stop.color.b));
                    alphas.push_back(stop.color.a / 255.0);
                    ratios.push_back(stop.ratio);
                }
                set("colors", arrayOf(vm, colors));
                set("alphas", arrayOf(vm, alphas));
                set("ratios", arrayOf(vm, ratios));
                setType(f.type);
            } else if constexpr (std::is_same_v<F, ConvolutionFilter>) {
                set("matrixX", Value(double(f.matrixX)));
                set("matrixY", Value(double(f.matrixY)));
                set("matrix", arrayOf(vm, f.matrix));
                set("divisor", Value(f.divisor));
                set("bias", Value(f.bias));
                set("preserveAlpha", Value(f.preserveAlpha));
                set("clamp", Value(f.clamp));
                setColor("color", "alpha", f.defaultColor);
            } else if constexpr (std::is_same_v<F, ColorMatrixFilter>) {
                set("matrix", arrayOf(vm, f.matrix));
            }
        },
        filter);
    return made;
}

void installFilterClasses(script::Interpreter& vm)
{
    script::Object* package = script::ensurePackage(vm, "flash.filters");
    if (!package)
        return;
    const Value base = vm.getMember(Value(package), "BitmapFilter");
    const Value baseProto = base.isObject() ? vm.getMember(base, "prototype") : Value();
    const auto install = [&]<size_t... kinds>(std::index_sequence<kinds...>) {
        (installClass(vm, *package, baseProto.toObjectOrNull(), kinds, construct<kinds>), ...);
    };
    install(std::make_index_sequence<kClasses.size()>());
}

} // namespace flash
