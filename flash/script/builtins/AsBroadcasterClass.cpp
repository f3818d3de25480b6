// AsBroadcaster: gives any object a listener list (_listeners) and the methods
// that add to it, remove from it and send a message to everything on it.
#include "flash/script/ArrayObject.h"
#include "flash/script/Conversions.h"
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <algorithm>

namespace flash::script {

namespace {

// Listener lists longer than this are not walked; no movie has a reason to make one.
constexpr uint32_t kMaxListeners = 1u << 20;

ArrayObject* listenersOf(CallContext& c)
{
    Object* list = c.vm.getMember(c.thisValue, String("_listeners")).toObjectOrNull();
    return list && list->kind() == ObjectKind::Array ? static_cast<ArrayObject*>(list) : nullptr;
}

std::vector<Value> copyOf(Interpreter& vm, const ArrayObject& list)
{
    std::vector<Value> out;
    const uint32_t length = std::min(list.length(), kMaxListeners);
    out.reserve(length);
    for (uint32_t i = 0; i < length; ++i) {
        out.push_back(list.at(i));
        if ((i & 1023) == 1023)
            vm.checkBudget();
    }
    return out;
}

// Removes the first entry that is `listener` itself; true if there was one.
bool removeFrom(Interpreter& vm, ArrayObject& list, const Value& listener)
{
    std::vector<Value> entries = copyOf(vm, list);
    const auto at = std::find_if(entries.begin(), entries.end(), [&](const Value& v) { return strictEquals(v, listener); });
    if (at == entries.end())
        return false;
    entries.erase(at);
    list.setLength(0);
    for (const Value& v : entries)
        list.push(v);
    return true;
}

Value addListener(CallContext& c)
{
    ArrayObject* list = listenersOf(c);
    if (!list)
        return Value(false);
    // A listener added twice is on the list once, at the end.
    (void)removeFrom(c.vm, *list, c.arg(0));
    list->push(c.arg(0));
    return Value(true);
}

Value removeListener(CallContext& c)
{
    ArrayObject* list = listenersOf(c);
    return Value(list && removeFrom(c.vm, *list, c.arg(0)));
}

// broadcastMessage(name, args...): calls name(args...) on every listener, working
// from a copy so that listeners may add or remove themselves while it runs.
Value broadcastMessage(CallContext& c)
{
    ArrayObject* list = listenersOf(c);
    if (!list || c.argc() == 0)
        return Value();
    Heap::NoCollect hold(c.vm.heap());
    const String name = c.vm.toString(c.arg(0));
    const std::vector<Value> listeners = copyOf(c.vm, *list);
    const std::span<const Value> args = c.args.subspan(1);
    for (const Value& listener : listeners) {
        if (listener.isObject())
            (void)c.vm.invokeMember(listener, name, args);
    }
    return Value();
}

constexpr const char* kMethods[] = { "broadcastMessage", "addListener", "removeListener" };

Value initialize(CallContext& c)
{
    if (Object* target = c.arg(0).toObjectOrNull())
        initializeBroadcaster(c.vm, *target);
    return Value();
}

Value construct(CallContext&) { return Value(); }

} // namespace

void initializeBroadcaster(Interpreter& vm, Object& target)
{
    // The methods are copied from AsBroadcaster as it stands, so a script's replacements spread too.
    const Property* broadcaster = ownProperty(*vm.global(), "AsBroadcaster");
    for (const char* name : kMethods) {
        const Value method = broadcaster ? vm.getMember(broadcaster->value, String(name)) : Value();
        vm.define(target, String(name), method);
    }
    vm.define(target, String("_listeners"), Value(static_cast<Object*>(vm.newArray())));
}

void installAsBroadcaster(Interpreter& vm)
{
    FunctionObject* ctor = defineClass(vm, "AsBroadcaster", construct, vm.newObject());
    defineMethod(vm, *ctor, "initialize", initialize);
    defineMethod(vm, *ctor, "broadcastMessage", broadcastMessage);
    defineMethod(vm, *ctor, "addListener", addListener);
    defineMethod(vm, *ctor, "removeListener", removeListener);
}

} // namespace flash::script
