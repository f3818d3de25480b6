// Array: the constructor, `length`, and join/toString so arrays print as "a,b,c".
#include "flash/script/ArrayObject.h"
#include "flash/script/Conversions.h"
#include "flash/script/builtins/BuiltinSupport.h"
#include "flash/script/builtins/Builtins.h"

#include <cmath>
#include <string>

namespace flash::script {

namespace {

Object* allocate(Interpreter& vm, Object* proto)
{
    ArrayObject* array = vm.newArray();
    array->setProto(proto);
    return array;
}

Value construct(CallContext& c)
{
    ArrayObject* array = nullptr;
    if (c.isConstruct() && c.thisObject() && c.thisObject()->kind() == ObjectKind::Array)
        array = static_cast<ArrayObject*>(c.thisObject());
    else
        array = c.vm.newArray();
    if (c.argc() == 1 && c.arg(0).isNumber()) {
        const double n = c.arg(0).asNumber();
        if (n >= 0 && n < 4294967296.0 && n == std::floor(n))
            array->setLength(uint32_t(n));
        return Value(static_cast<Object*>(array));
    }
    for (const Value& v : c.args)
        array->push(v);
    return Value(static_cast<Object*>(array));
}

String joinWith(CallContext& c, std::string_view separator)
{
    Object* self = c.thisObject();
    if (!self)
        return String();
    uint32_t length = 0;
    if (self->kind() == ObjectKind::Array) {
        length = static_cast<ArrayObject*>(self)->length();
    } else {
        const double n = c.vm.toNumber(c.vm.getMember(c.thisValue, c.vm.names().length));
        length = n > 0 ? toUint32(n) : 0;
    }
    std::string out;
    for (uint32_t i = 0; i < length; ++i) {
        if (i)
            out += separator;
        const Value v = self->kind() == ObjectKind::Array ? static_cast<ArrayObject*>(self)->at(i)
                                                          : c.vm.getMember(c.thisValue, String(std::to_string(i)));
        out += c.vm.toString(v).view();
        if (out.size() > c.vm.limits().maxStringLength)
            c.vm.stop("Script stopped: a joined array grew past the string limit");
        if ((i & 1023) == 1023)
            c.vm.checkBudget();
    }
    return String(out);
}

Value join(CallContext& c)
{
    const String separator = c.arg(0).isUndefined() ? String(",") : c.vm.toString(c.arg(0));
    return Value(joinWith(c, separator.view()));
}

Value toString(CallContext& c) { return Value(joinWith(c, ",")); }

} // namespace

void installArray(Interpreter& vm)
{
    Object* proto = vm.newObject();
    vm.prototypes().array = proto;
    defineClass(vm, "Array", construct, proto, allocate);
    defineMethod(vm, *proto, "join", join);
    defineMethod(vm, *proto, "toString", toString);
}

} // namespace flash::script
