// Error: message, name, and a toString giving the message.
#include "flash/script/builtins/BuiltinSupport.h"
#include "flash/script/builtins/Builtins.h"

namespace flash::script {

namespace {

Value construct(CallContext& c)
{
    Object* self = c.isConstruct() ? c.thisObject() : c.vm.newError("Error");
    if (!self)
        return Value();
    if (!c.arg(0).isUndefined())
        c.vm.setMember(Value(self), c.vm.names().message, c.arg(0));
    return Value(self);
}

Value toString(CallContext& c) { return Value(c.vm.toString(c.vm.getMember(c.thisValue, c.vm.names().message))); }

} // namespace

void installError(Interpreter& vm)
{
    Object* proto = vm.newObject();
    vm.prototypes().error = proto;
    defineClass(vm, "Error", construct, proto);
    vm.define(*proto, vm.names().message, Value("Error"));
    vm.define(*proto, vm.names().name, Value("Error"));
    defineMethod(vm, *proto, "toString", toString);
}

} // namespace flash::script
