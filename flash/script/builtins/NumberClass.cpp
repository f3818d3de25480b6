// Number: the constructor (a conversion when called, a wrapper with new), toString(radix) and valueOf.
#include "flash/script/BoxedObject.h"
#include "flash/script/Conversions.h"
#include "flash/script/builtins/BuiltinSupport.h"
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/PrimitiveWrappers.h"

#include <limits>

namespace flash::script {

namespace {

Object* allocate(Interpreter& vm, Object* proto) { return vm.heap().make<BoxedObject>(proto, Value(0.0)); }

Value construct(CallContext& c)
{
    const double n = c.argc() ? c.vm.toNumber(c.arg(0)) : 0.0;
    if (c.isConstruct() && c.thisObject() && c.thisObject()->kind() == ObjectKind::Boxed) {
        static_cast<BoxedObject*>(c.thisObject())->setPrimitive(Value(n));
        return c.thisValue;
    }
    return Value(n);
}

Value valueOf(CallContext& c) { return primitiveOfThis(c, ValueType::Number); }

Value toString(CallContext& c)
{
    const Value n = primitiveOfThis(c, ValueType::Number);
    if (!n.isNumber())
        return Value();
    const int radix = c.arg(0).isUndefined() ? 10 : int(c.vm.toNumber(c.arg(0)));
    return Value(String(numberToString(n.asNumber(), radix)));
}

} // namespace

void installNumber(Interpreter& vm)
{
    Object* proto = vm.newObject();
    vm.prototypes().number = proto;
    defineClass(vm, "Number", construct, proto, allocate);
    defineMethod(vm, *proto, "toString", toString);
    defineMethod(vm, *proto, "valueOf", valueOf);
}

} // namespace flash::script
