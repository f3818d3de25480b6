// String: the constructor (a conversion when called, a wrapper with new), toString and valueOf.
#include "flash/script/BoxedObject.h"
#include "flash/script/builtins/BuiltinSupport.h"
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/PrimitiveWrappers.h"

namespace flash::script {

namespace {

Object* allocate(Interpreter& vm, Object* proto) { return vm.heap().make<BoxedObject>(proto, Value(String())); }

Value construct(CallContext& c)
{
    const String text = c.argc() ? c.vm.toString(c.arg(0)) : String();
    if (c.isConstruct() && c.thisObject() && c.thisObject()->kind() == ObjectKind::Boxed) {
        static_cast<BoxedObject*>(c.thisObject())->setPrimitive(Value(text));
        return c.thisValue;
    }
    return Value(text);
}

Value valueOf(CallContext& c) { return primitiveOfThis(c, ValueType::String); }

} // namespace

void installString(Interpreter& vm)
{
    Object* proto = vm.newObject();
    vm.prototypes().string = proto;
    defineClass(vm, "String", construct, proto, allocate);
    defineMethod(vm, *proto, "toString", valueOf);
    defineMethod(vm, *proto, "valueOf", valueOf);
}

} // namespace flash::script
