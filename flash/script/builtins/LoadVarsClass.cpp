// LoadVars: an object whose own members travel as form variables, read from
// a query string (decode, a loaded file) and written as one (toString).
#include "flash/script/builtins/DataLoading.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/script/builtins/NetworkClasses.h"
#include "flash/script/builtins/UrlVariables.h"

namespace flash::script {

namespace {

Value construct(CallContext&) { return Value(); }

// decode("a=1&b=x%20y"): each pair becomes a member, as an assignment would make it.
Value decode(CallContext& c)
{
    if (!c.thisObject() || c.arg(0).isNullish())
        return Value();
    const String text = c.vm.toString(c.arg(0));
    size_t count = 0;
    for (const auto& [name, value] : decodeUrlVariables(text.view())) {
        c.vm.setMember(c.thisValue, String(name), Value(value));
        if ((++count & 1023) == 0)
            c.vm.checkBudget();
    }
    return Value();
}

// Members in for..in order (the most recently added first), functions included as their text.
Value toString(CallContext& c)
{
    Object* self = c.thisObject();
    if (!self)
        return Value(String());
    Heap::NoCollect hold(c.vm.heap());
    std::string out;
    for (const String& name : c.vm.enumerableNames(*self)) {
        if (!out.empty())
            out += '&';
        out += encodeUrlComponent(name.view());
        out += '=';
        out += encodeUrlComponent(c.vm.toString(c.vm.getMember(c.thisValue, name)).view());
        if (out.size() > c.vm.limits().maxStringLength)
            c.vm.stop("Script stopped: LoadVars text grew past the string limit");
    }
    return Value(String(out));
}

} // namespace

void installLoadVars(Interpreter& vm)
{
    const LibraryClass loadVars = defineLibraryClass(vm, *vm.global(), "LoadVars", construct);
    loadVars.method(vm, "decode", decode);
    loadVars.method(vm, "toString", toString);
    defineDataTransfer(vm, *loadVars.prototype, "decode");
}

} // namespace flash::script
