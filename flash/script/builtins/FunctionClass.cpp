// Function: call and apply on every function, and its toString.
#include "flash/script/ArrayObject.h"
#include "flash/script/builtins/BuiltinSupport.h"
#include "flash/script/builtins/Builtins.h"

#include <vector>

namespace flash::script {

namespace {

Value construct(CallContext&) { return Value(); }

Value call(CallContext& c)
{
    const std::span<const Value> rest = c.args.empty() ? c.args : c.args.subspan(1);
    return c.vm.invoke(c.thisValue, c.arg(0), rest);
}

Value apply(CallContext& c)
{
    std::vector<Value> args;
    if (Object* list = c.arg(1).toObjectOrNull()) {
        const double n = c.vm.toNumber(c.vm.getMember(Value(list), c.vm.names().length));
        const uint32_t count = n > 0 ? uint32_t(std::min(n, double(c.vm.limits().maxStack))) : 0;
        args.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            if (list->kind() == ObjectKind::Array)
                args.push_back(static_cast<ArrayObject*>(list)->at(i));
            else
                args.push_back(c.vm.getMember(Value(list), String(std::to_string(i))));
        }
    }
    return c.vm.invoke(c.thisValue, c.arg(0), args);
}

Value toString(CallContext&) { return Value("[type Function]"); }

} // namespace

void installFunction(Interpreter& vm)
{
    Object* proto = vm.prototypes().function;
    defineClass(vm, "Function", construct, proto);
    defineMethod(vm, *proto, "call", call);
    defineMethod(vm, *proto, "apply", apply);
    defineMethod(vm, *proto, "toString", toString);
}

} // namespace flash::script
