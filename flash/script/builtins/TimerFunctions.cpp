// setInterval, setTimeout and their clear functions: a function, or an object
// and a method name, called with extra arguments when due.
#include "flash/script/builtins/BuiltinSupport.h"
#include "flash/script/builtins/Builtins.h"

#include <cmath>

namespace flash::script {

namespace {

Value schedule(CallContext& c, TimerRepeat repeat)
{
    Timer timer;
    timer.repeat = repeat;
    size_t next = 0;
    const Value first = c.arg(0);
    if (first.isObject() && !first.asObject()->isFunction() && c.arg(1).isString()) {
        timer.function = first;
        timer.method = c.arg(1).asString();
        next = 2;
    } else if (first.isObject() && first.asObject()->isFunction()) {
        timer.function = first;
        next = 1;
    } else {
        return Value();
    }
    const double interval = c.vm.toNumber(c.arg(next));
    timer.intervalMs = std::isfinite(interval) && interval > 0 ? interval : 0;
    for (size_t i = next + 1; i < c.argc(); ++i)
        timer.args.push_back(c.args[i]);
    timer.dueMs = c.vm.host().timeMs() + timer.intervalMs;
    const uint32_t id = c.vm.timers().add(std::move(timer));
    return id ? Value(double(id)) : Value();
}

Value setInterval(CallContext& c) { return schedule(c, TimerRepeat::Repeat); }
Value setTimeout(CallContext& c) { return schedule(c, TimerRepeat::Once); }

Value clear(CallContext& c)
{
    const double id = c.vm.toNumber(c.arg(0));
    if (std::isfinite(id) && id >= 1 && id < 4294967296.0)
        (void)c.vm.timers().remove(uint32_t(id));
    return Value();
}

} // namespace

void installTimerFunctions(Interpreter& vm)
{
    Object& global = *vm.global();
    defineMethod(vm, global, "setInterval", setInterval);
    defineMethod(vm, global, "setTimeout", setTimeout);
    defineMethod(vm, global, "clearInterval", clear);
    defineMethod(vm, global, "clearTimeout", clear);
}

} // namespace flash::script
