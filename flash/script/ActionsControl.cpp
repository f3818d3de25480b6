// Control flow: Jump, If, With, Try (catch, finally, and how they meet Return
// and Throw) and Throw. Nested bodies run as ranges of the same frame.
#include "flash/script/ActionHandlers.h"

#include "flash/script/ActionPayloads.h"
#include "flash/script/Signals.h"

namespace flash::script::actions {

namespace {

void branch(Interpreter& vm, Frame& f, Bytes p)
{
    requirePayload(vm, p, 2);
    const int64_t target = int64_t(f.pc) + int16_t(readU16(p, 0));
    if (target < 0 || size_t(target) > f.code.size())
        vm.stop("Script stopped: a branch leaves its block");
    f.pc = size_t(target);
}

// Pops the With object off the scope chain however its body is left.
struct WithScope {
    Frame& frame;
    bool pushed;
    ~WithScope()
    {
        if (pushed)
            frame.withs.pop_back();
    }
};

} // namespace

Flow jump(Interpreter& vm, Frame& f, Bytes p)
{
    branch(vm, f, p);
    return Flow::Next;
}

Flow branchIf(Interpreter& vm, Frame& f, Bytes p)
{
    const Value condition = pop(vm, f);
    const bool taken = condition.isBoolean() ? condition.asBoolean() : vm.toBoolean(condition);
    if (taken)
        branch(vm, f, p);
    return Flow::Next;
}

Flow with(Interpreter& vm, Frame& f, Bytes p)
{
    requirePayload(vm, p, 2);
    const size_t size = readU16(p, 0);
    const Value object = pop(vm, f);
    const size_t start = f.pc;
    if (f.code.size() - start < size)
        vm.stop("Script stopped: a With body runs past its block");
    const size_t end = start + size;
    Object* scope = object.toObjectOrNull();
    if (scope && f.withs.size() >= vm.limits().maxScopeDepth)
        vm.stop("Script stopped: With nested too deeply");
    if (scope)
        f.withs.push_back(scope);
    WithScope guard { f, scope != nullptr };
    const Flow flow = vm.runRange(f, start, end);
    if (flow != Flow::Next)
        return flow;
    return Flow::Next;
}

Flow tryBlock(Interpreter& vm, Frame& f, Bytes p)
{
    auto header = decodeTry(p);
    if (!header)
        vm.stop("Script stopped: malformed Try");
    const size_t tryStart = f.pc;
    const size_t catchStart = tryStart + header->trySize;
    const size_t finallyStart = catchStart + header->catchSize;
    const size_t after = finallyStart + header->finallySize;
    if (after > f.code.size())
        vm.stop("Script stopped: a Try block runs past its block");
    if (header->catchInRegister && header->hasCatch && header->catchRegister >= f.registerCount)
        vm.stop("Script stopped: Try catches into a register the frame does not have");

    const size_t stackHeight = vm.stack().size();
    const size_t withDepth = f.withs.size();
    Flow flow = Flow::Next;
    bool rethrow = false;
    Value pending;
    size_t resume = after;

    try {
        flow = vm.runRange(f, tryStart, catchStart);
        if (flow == Flow::Next && f.pc != catchStart)
            resume = f.pc; // jumped out of the try body
    } catch (const ThrowSignal&) {
        pending = vm.thrown();
        vm.thrown() = Value();
        vm.stack().truncate(std::max(stackHeight, f.stackBase));
        f.withs.resize(withDepth);
        if (!header->hasCatch) {
            rethrow = true;
        } else {
            if (header->catchInRegister)
                f.registers[header->catchRegister] = pending;
            else if (f.isFunction())
                vm.defineLocal(f, header->catchName, pending);
            else
                vm.setVariable(f, header->catchName, pending);
            try {
                flow = vm.runRange(f, catchStart, finallyStart);
                if (flow == Flow::Next && f.pc != finallyStart)
                    resume = f.pc;
            } catch (const ThrowSignal&) {
                if (!header->hasFinally)
                    throw;
                pending = vm.thrown();
                vm.thrown() = Value();
                rethrow = true;
            }
        }
    }

    if (header->hasFinally) {
        const Value savedReturn = f.returnValue;
        const Flow finallyFlow = vm.runRange(f, finallyStart, after);
        if (finallyFlow != Flow::Next)
            return finallyFlow; // a return in finally wins over a pending throw or return
        if (f.pc != after)
            resume = f.pc;
        f.returnValue = savedReturn;
    }
    if (rethrow)
        vm.throwValue(pending);
    if (flow != Flow::Next)
        return flow;
    f.pc = resume;
    return Flow::Next;
}

Flow throwValue(Interpreter& vm, Frame& f, Bytes)
{
    vm.throwValue(pop(vm, f));
}

} // namespace flash::script::actions
