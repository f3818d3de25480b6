// Functions, calls, construction and classes: DefineFunction(2), Return,
// CallFunction/CallMethod, NewObject/NewMethod, InstanceOf, Extends, CastOp, ImplementsOp.
#include "flash/script/ActionHandlers.h"

#include "flash/script/ActionPayloads.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/SuperObject.h"

#include <algorithm>
#include <cmath>

namespace flash::script::actions {

namespace {

constexpr uint32_t kMaxChain = 256;

Flow define(Interpreter& vm, Frame& f, Bytes p, FunctionFlavor flavor)
{
    auto header = decodeFunction(p, flavor);
    if (!header)
        vm.stop("Script stopped: malformed function header");
    if (f.code.size() - f.pc < header->codeSize)
        vm.stop("Script stopped: a function body runs past its block");
    auto code = std::make_shared<ScriptCode>();
    code->owner = f.owner ? *f.owner : nullptr;
    code->body = f.code.subspan(f.pc, header->codeSize);
    code->swfVersion = f.version;
    code->name = header->name;
    code->params = std::move(header->params);
    code->flags = header->flags;
    code->registerCount = flavor == FunctionFlavor::Registers ? header->registerCount : 4;
    code->flavor = flavor;
    f.pc += header->codeSize;

    auto* fn = vm.heap().make<FunctionObject>(vm.prototypes().function, std::move(code), vm.captureScope(f), f.pool);
    Object* prototype = vm.newObject();
    vm.define(*prototype, vm.names().constructor, Value(static_cast<Object*>(fn)));
    vm.define(*fn, vm.names().prototype, Value(prototype));
    if (header->name.isEmpty())
        push(vm, Value(static_cast<Object*>(fn)));
    else
        vm.defineLocal(f, header->name, Value(static_cast<Object*>(fn)));
    return Flow::Next;
}

// Puts the top `count` values in call order (first argument lowest) and returns them.
std::span<const Value> arguments(Interpreter& vm, Frame& f, const Value& countValue)
{
    const double n = vm.toNumber(countValue);
    const size_t available = vm.stack().size() - f.stackBase;
    const size_t count = n > 0 ? size_t(std::min(n, double(available))) : 0;
    Value* first = vm.stack().data() + vm.stack().size() - count;
    std::reverse(first, first + count);
    return { first, count };
}

// Replaces the arguments on the stack with the call's result.
void finishCall(Interpreter& vm, std::span<const Value> args, Value result)
{
    vm.stack().truncate(size_t(args.data() - vm.stack().data()));
    push(vm, std::move(result));
}

bool isFunction(const Value& v) { return v.isObject() && v.asObject()->isFunction(); }

Value callWithHome(Interpreter& vm, const Value& function, const Value& self, std::span<const Value> args, Object* home)
{
    Object* fn = function.toObjectOrNull();
    if (fn && fn->isFunction() && !static_cast<FunctionObject*>(fn)->isNative() && home) {
        Object* thisObject = self.isObject() ? self.asObject() : vm.toObject(self);
        return vm.invokeAsConstructor(*static_cast<FunctionObject*>(fn), thisObject, args, home);
    }
    return vm.invoke(function, self, args);
}

// The object in `object`'s chain that holds `name` (where a method was found, for super).
Object* holderOf(Interpreter& vm, Object* object, const String& name)
{
    for (uint32_t i = 0; object && i < kMaxChain; ++i, object = object->proto()) {
        if (object->properties().find(name, vm.caseMode()))
            return object;
    }
    return nullptr;
}

} // namespace

Flow defineFunction(Interpreter& vm, Frame& f, Bytes p) { return define(vm, f, p, FunctionFlavor::Basic); }
Flow defineFunction2(Interpreter& vm, Frame& f, Bytes p) { return define(vm, f, p, FunctionFlavor::Registers); }

Flow returnValue(Interpreter& vm, Frame& f, Bytes)
{
    f.returnValue = pop(vm, f);
    return Flow::Return;
}

Flow callFunction(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    const Value count = pop(vm, f);
    const std::span<const Value> args = arguments(vm, f, count);
    const Value function = vm.getVariable(f, vm.toString(name));
    // A function called by name runs on the code's own `this`: frame code calling
    // attachMovie(...) means its own timeline's.
    finishCall(vm, args, vm.invoke(function, f.thisObject ? Value(f.thisObject) : Value(), args));
    return Flow::Next;
}

Flow callMethod(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    const Value object = pop(vm, f);
    const Value count = pop(vm, f);
    const std::span<const Value> args = arguments(vm, f, count);
    if (name.isUndefined() || (name.isString() && name.stringView().empty())) {
        // No method name: the object is itself the function (or super(...)).
        finishCall(vm, args, vm.invoke(object, Value(), args));
        return Flow::Next;
    }
    const String method = vm.toString(name);
    const Value function = vm.getMember(object, method);
    Object* o = object.toObjectOrNull();
    if (o && o->kind() == ObjectKind::Super) {
        auto* super = static_cast<SuperObject*>(o);
        Object* home = holderOf(vm, super->proto(), method);
        finishCall(vm, args, callWithHome(vm, function, Value(super->thisObject()), args, home));
        return Flow::Next;
    }
    if (!isFunction(function)) {
        finishCall(vm, args, Value());
        return Flow::Next;
    }
    Object* home = o ? holderOf(vm, o, method) : nullptr;
    finishCall(vm, args, callWithHome(vm, function, object, args, home));
    return Flow::Next;
}

Flow newObject(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    const Value count = pop(vm, f);
    const std::span<const Value> args = arguments(vm, f, count);
    const Value constructor = vm.getVariable(f, vm.toString(name));
    finishCall(vm, args, vm.construct(constructor, args));
    return Flow::Next;
}

Flow newMethod(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    const Value object = pop(vm, f);
    const Value count = pop(vm, f);
    const std::span<const Value> args = arguments(vm, f, count);
    const bool unnamed = name.isUndefined() || (name.isString() && name.stringView().empty());
    const Value constructor = unnamed ? object : vm.getMember(object, vm.toString(name));
    finishCall(vm, args, vm.construct(constructor, args));
    return Flow::Next;
}

bool isInstanceOf(Interpreter& vm, const Value& object, const Value& constructor)
{
    Object* o = object.toObjectOrNull();
    Object* ctor = constructor.toObjectOrNull();
    if (!o || !ctor)
        return false;
    const Value protoValue = vm.getMember(constructor, vm.names().prototype);
    Object* proto = protoValue.toObjectOrNull();
    // Interfaces may extend interfaces; a bounded breadth-first walk over them.
    std::vector<Object*> interfaces;
    Object* p = o->proto();
    for (uint32_t i = 0; p && i < kMaxChain; ++i, p = p->proto()) {
        if (p == proto)
            return true;
        interfaces.insert(interfaces.end(), p->interfaces().begin(), p->interfaces().end());
    }
    for (size_t i = 0; i < interfaces.size() && i < kMaxChain; ++i) {
        if (interfaces[i] == ctor)
            return true;
        const Value ip = vm.getMember(Value(interfaces[i]), vm.names().prototype);
        if (Object* ipo = ip.toObjectOrNull())
            interfaces.insert(interfaces.end(), ipo->interfaces().begin(), ipo->interfaces().end());
    }
    return false;
}

Flow instanceOf(Interpreter& vm, Frame& f, Bytes)
{
    const Value constructor = pop(vm, f);
    const Value object = pop(vm, f);
    push(vm, Value(isInstanceOf(vm, object, constructor)));
    return Flow::Next;
}

Flow castOp(Interpreter& vm, Frame& f, Bytes)
{
    const Value object = pop(vm, f);
    const Value constructor = pop(vm, f);
    push(vm, isInstanceOf(vm, object, constructor) ? object : Value::null());
    return Flow::Next;
}

Flow extends(Interpreter& vm, Frame& f, Bytes)
{
    const Value superclass = pop(vm, f);
    const Value subclass = pop(vm, f);
    Object* sub = subclass.toObjectOrNull();
    if (!sub || !superclass.isObject())
        return Flow::Next;
    Object* prototype = vm.newObject();
    prototype->setProto(vm.getMember(superclass, vm.names().prototype).toObjectOrNull());
    vm.define(*prototype, vm.names().ctor, superclass);
    vm.setMember(subclass, vm.names().prototype, Value(prototype));
    return Flow::Next;
}

Flow implementsOp(Interpreter& vm, Frame& f, Bytes)
{
    const Value constructor = pop(vm, f);
    const double n = vm.toNumber(pop(vm, f));
    const size_t available = vm.stack().size() - f.stackBase;
    const size_t count = n > 0 ? size_t(std::min(n, double(available))) : 0;
    std::vector<Object*> interfaces;
    for (size_t i = 0; i < count; ++i) {
        if (Object* iface = pop(vm, f).toObjectOrNull())
            interfaces.push_back(iface);
    }
    if (Object* proto = vm.getMember(constructor, vm.names().prototype).toObjectOrNull())
        proto->interfaces() = std::move(interfaces);
    return Flow::Next;
}

} // namespace flash::script::actions
