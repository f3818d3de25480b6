// Object: the constructor and the prototype every object inherits
// (addProperty, watch, hasOwnProperty, ...), and Object.registerClass.
#include "flash/script/builtins/BuiltinSupport.h"
#include "flash/script/builtins/Builtins.h"

#include <algorithm>

namespace flash::script {

namespace {

bool isFunction(const Value& v) { return v.isObject() && v.asObject()->isFunction(); }

Value construct(CallContext& c)
{
    if (c.arg(0).isObject())
        return c.arg(0);
    if (!c.arg(0).isNullish()) {
        if (Object* boxed = c.vm.toObject(c.arg(0)))
            return Value(boxed);
    }
    if (c.isConstruct() && c.thisObject())
        return c.thisValue;
    return Value(c.vm.newObject());
}

// addProperty(name, getter, setter): the getter is required; a null setter makes it read-only.
Value addProperty(CallContext& c)
{
    Object* self = c.thisObject();
    const String name = c.vm.toString(c.arg(0));
    if (!self || name.isEmpty() || !isFunction(c.arg(1)))
        return Value(false);
    if (!c.arg(2).isNull() && !c.arg(2).isUndefined() && !isFunction(c.arg(2)))
        return Value(false);
    Property* p = self->properties().find(name, c.vm.caseMode());
    if (!p)
        p = &self->properties().add(name, Value());
    p->value = Value();
    p->getter = c.arg(1).asObject();
    p->setter = c.arg(2).toObjectOrNull();
    return Value(true);
}

Value watch(CallContext& c)
{
    Object* self = c.thisObject();
    if (!self || !isFunction(c.arg(1)))
        return Value(false);
    const String name = c.vm.toString(c.arg(0));
    auto& watches = self->watches();
    for (Watch& w : watches) {
        if (w.name.equals(name, c.vm.caseMode())) {
            w.callback = c.arg(1).asObject();
            w.userData = c.arg(2);
            return Value(true);
        }
    }
    watches.push_back(Watch { name, c.arg(1).asObject(), c.arg(2) });
    return Value(true);
}

Value unwatch(CallContext& c)
{
    Object* self = c.thisObject();
    if (!self)
        return Value(false);
    const String name = c.vm.toString(c.arg(0));
    const CaseMode mode = c.vm.caseMode();
    return Value(std::erase_if(self->watches(), [&](const Watch& w) { return w.name.equals(name, mode); }) > 0);
}

Value hasOwnProperty(CallContext& c)
{
    Object* self = c.thisObject();
    if (!self)
        return Value(false);
    const String name = c.vm.toString(c.arg(0));
    return Value(self->properties().find(name, c.vm.caseMode()) != nullptr || self->hasSpecial(c.vm, name));
}

Value isPropertyEnumerable(CallContext& c)
{
    Object* self = c.thisObject();
    if (!self)
        return Value(false);
    const String name = c.vm.toString(c.arg(0));
    if (const Property* p = self->properties().find(name, c.vm.caseMode()))
        return Value(p->isEnumerable());
    return Value(self->kind() == ObjectKind::Array && self->hasSpecial(c.vm, name) && !name.equals(c.vm.names().length, c.vm.caseMode()));
}

Value isPrototypeOf(CallContext& c)
{
    Object* self = c.thisObject();
    Object* other = c.arg(0).toObjectOrNull();
    if (!self || !other)
        return Value(false);
    Object* p = other->proto();
    for (int i = 0; p && i < 256; ++i, p = p->proto()) {
        if (p == self)
            return Value(true);
    }
    return Value(false);
}

Value toString(CallContext&) { return Value("[object Object]"); }
Value valueOf(CallContext& c) { return c.thisValue; }

Value registerClass(CallContext& c)
{
    const String name = c.vm.toString(c.arg(0));
    Object* ctor = isFunction(c.arg(1)) ? c.arg(1).asObject() : nullptr;
    return Value(c.vm.host().registerClass(name.view(), ctor));
}

} // namespace

void installObject(Interpreter& vm)
{
    Object* proto = vm.prototypes().object;
    FunctionObject* ctor = defineClass(vm, "Object", construct, proto);
    defineMethod(vm, *proto, "addProperty", addProperty);
    defineMethod(vm, *proto, "watch", watch);
    defineMethod(vm, *proto, "unwatch", unwatch);
    defineMethod(vm, *proto, "hasOwnProperty", hasOwnProperty);
    defineMethod(vm, *proto, "isPropertyEnumerable", isPropertyEnumerable);
    defineMethod(vm, *proto, "isPrototypeOf", isPrototypeOf);
    defineMethod(vm, *proto, "toString", toString);
    defineMethod(vm, *proto, "valueOf", valueOf);
    defineMethod(vm, *ctor, "registerClass", registerClass);
}

} // namespace flash::script
