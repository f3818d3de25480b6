// XMLSocket: nothing a movie does reaches the network, so every connection is
// refused as the runtime refuses one the sandbox forbids: connect answers
// false, and onConnect(false) is told after the calling script returns.
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/script/builtins/NetworkClasses.h"

namespace flash::script {

namespace {

Value construct(CallContext&)
{
    return {};
}

Value connect(CallContext& c)
{
    Object* self = c.thisObject();
    if (!self)
        return Value(false);
    Timer refusal;
    refusal.function = Value(self);
    refusal.method = String("onConnect");
    refusal.args = {Value(false)};
    refusal.repeat = TimerRepeat::Once;
    refusal.dueMs = c.vm.host().timeMs();
    (void)c.vm.timers().add(std::move(refusal));
    return Value(false);
}

Value nothing(CallContext&)
{
    return {};
}

} // namespace

void installXmlSocket(Interpreter& vm)
{
    const LibraryClass socket = defineLibraryClass(vm, *vm.global(), "XMLSocket", construct);
    socket.method(vm, "connect", connect);
    socket.method(vm, "send", nothing);
    socket.method(vm, "close", nothing);
}

} // namespace flash::script
