// Boolean: the constructor (a conversion when called, a wrapper with new), toString and valueOf.
#include "flash/script/BoxedObject.h"
#include "flash/script/builtins/BuiltinSupport.h"
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/PrimitiveWrappers.h"

namespace flash::script {

namespace {

Object* allocate(Interpreter& vm, Object* proto) { return vm.heap().make<BoxedObject>(proto, Value(false)); }

Value construct(CallContext& c)
{
    const bool b = c.argc() ? c.vm.toBoolean(c.arg(0)) : false;
    if (c.isConstruct() && c.thisObject() && c.thisObject()->kind() == ObjectKind::Boxed) {
        static_cast<BoxedObject*>(c.thisObject())->setPrimitive(Value(b));
        return c.thisValue;
    }
    return Value(b);
}

Value valueOf(CallContext& c) { return primitiveOfThis(c, ValueType::Boolean); }

Value toString(CallContext& c)
{
    const Value b = primitiveOfThis(c, ValueType::Boolean);
    return b.isBoolean() ? Value(b.asBoolean() ? "true" : "false") : Value();
}

} // namespace

void installBoolean(Interpreter& vm)
{
    Object* proto = vm.newObject();
    vm.prototypes().boolean = proto;
    defineClass(vm, "Boolean", construct, proto, allocate);
    defineMethod(vm, *proto, "toString", toString);
    defineMethod(vm, *proto, "valueOf", valueOf);
}

} // namespace flash::script
