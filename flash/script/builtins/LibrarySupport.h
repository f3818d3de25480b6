// Helpers the library classes share: argument conversion, constants, accessors and packages.
#pragma once

#include "flash/script/ArrayObject.h"
#include "flash/script/CallContext.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Interpreter.h"
#include "flash/script/builtins/BuiltinSupport.h"

#include <span>
#include <string>
#include <string_view>

namespace flash::script {

inline constexpr uint8_t kConstantFlags = PropertyFlag::DontEnum | PropertyFlag::DontDelete | PropertyFlag::ReadOnly;

// Argument `i` as a number; missing arguments convert as undefined does.
[[nodiscard]] inline double numberArg(CallContext& c, size_t i) { return c.vm.toNumber(c.arg(i)); }

// Argument `i` as a number, or `fallback` when it is missing or undefined.
[[nodiscard]] inline double numberArg(CallContext& c, size_t i, double fallback)
{
    return c.arg(i).isUndefined() ? fallback : c.vm.toNumber(c.arg(i));
}

// A member of any value as a number (for geometry objects whose fields scripts may set to anything).
[[nodiscard]] inline double numberMember(Interpreter& vm, const Value& object, std::string_view name)
{
    return vm.toNumber(vm.getMember(object, String(name)));
}

inline void setNumberMember(Interpreter& vm, const Value& object, std::string_view name, double value)
{
    vm.setMember(object, String(name), Value(value));
}

// The own property `name` of `object`, if any (installers use it to leave existing entries alone).
[[nodiscard]] inline const Property* ownProperty(const Object& object, std::string_view name)
{
    return object.properties().find(String(name), CaseMode::Sensitive);
}

// A native method unless `object` already has one of that name.
inline void defineMethodIfAbsent(Interpreter& vm, Object& object, std::string_view name, NativeFunction native)
{
    if (!ownProperty(object, name))
        defineMethod(vm, object, name, native);
}

inline void defineConstant(Interpreter& vm, Object& object, std::string_view name, Value value)
{
    vm.define(object, String(name), std::move(value), kConstantFlags);
}

// A property read and written through natives, as addProperty makes them.
inline void defineAccessor(Interpreter& vm, Object& object, std::string_view name, NativeFunction getter,
                           NativeFunction setter)
{
    const String key(name);
    vm.define(object, key, Value(), PropertyFlag::DontEnum);
    Property* p = object.properties().find(key, CaseMode::Sensitive);
    p->getter = vm.newNative(getter);
    p->setter = setter ? vm.newNative(setter) : nullptr;
}

// The object at a dotted path under _global ("flash.geom"), made where missing.
inline Object* ensurePackage(Interpreter& vm, std::string_view path)
{
    Object* at = vm.global();
    while (!path.empty()) {
        const size_t dot = path.find('.');
        const String part(path.substr(0, dot));
        const Property* p = at->properties().find(part, CaseMode::Sensitive);
        Object* next = p ? p->value.toObjectOrNull() : nullptr;
        if (!next) {
            next = vm.newObject();
            vm.define(*at, part, Value(next));
        }
        at = next;
        path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
    }
    return at;
}

// A class published on `package` as `name`, whose natives all carry the constructor
// as their data so that methods can make new instances of it.
struct LibraryClass {
    FunctionObject* constructor = nullptr;
    Object* prototype = nullptr;

    void method(Interpreter& vm, std::string_view name, NativeFunction native) const
    {
        vm.define(*prototype, String(name), Value(static_cast<Object*>(vm.newNative(native, Value(static_cast<Object*>(constructor))))));
    }
    void staticMethod(Interpreter& vm, std::string_view name, NativeFunction native) const
    {
        vm.define(*constructor, String(name), Value(static_cast<Object*>(vm.newNative(native, Value(static_cast<Object*>(constructor))))));
    }
};

inline LibraryClass defineLibraryClass(Interpreter& vm, Object& package, std::string_view name, NativeFunction native)
{
    Object* proto = vm.newObject();
    FunctionObject* ctor = vm.newConstructor(native, proto);
    vm.define(package, String(name), Value(static_cast<Object*>(ctor)));
    return { ctor, proto };
}

// "(x=1, y=2)": members of `object` under their labels, as the geometry classes print themselves.
struct LabelledMember {
    const char* label;
    const char* member;
};

inline String describeMembers(Interpreter& vm, const Value& object, std::span<const LabelledMember> members)
{
    std::string out = "(";
    for (const LabelledMember& m : members) {
        if (out.size() > 1)
            out += ", ";
        out += m.label;
        out += '=';
        out += vm.toString(vm.getMember(object, String(m.member))).view();
    }
    return String(out + ")");
}

// A new flash.geom.Point (or, when a script has removed that class, a plain object with x and y).
[[nodiscard]] Value makePoint(Interpreter& vm, double x, double y);

// Counts what an array's element storage grew by against the heap limit, as the
// interpreter does for element writes, and stops the script once the heap is full.
template<typename Body>
inline void growing(Interpreter& vm, ArrayObject& array, Body&& body)
{
    const size_t before = array.dense().capacity();
    body();
    const size_t after = array.dense().capacity();
    if (after > before) {
        vm.heap().account((after - before) * sizeof(Value));
        if (vm.heap().isOverLimit())
            vm.checkBudget();
    }
}

// Makes `target` a broadcaster, as AsBroadcaster.initialize(target) does.
void initializeBroadcaster(Interpreter& vm, Object& target);

// A new instance of the class whose constructor a native carries as its data.
inline Value constructFromData(CallContext& c, std::span<const Value> args)
{
    return c.vm.construct(c.callee.data(), args);
}

} // namespace flash::script
