// The interpreter's entry points, frames, calls and the dispatch loop.
#include "flash/script/Interpreter.h"

#include "flash/script/ActionTable.h"
#include "flash/script/ArrayObject.h"
#include "flash/script/BoxedObject.h"
#include "flash/script/Conversions.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Signals.h"
#include "flash/script/SuperObject.h"
#include "flash/script/builtins/Builtins.h"

#include <algorithm>
#include <array>
#include <limits>

namespace flash::script {

namespace {

constexpr uint32_t kBudgetInterval = 4096; // actions between checks of the clock and the heap

struct DispatchTable {
    std::array<ActionHandler, 256> handlers {};
    DispatchTable()
    {
        for (const ActionInfo& info : actionTable())
            handlers[info.code] = info.handler;
    }
};

const DispatchTable& dispatch()
{
    static const DispatchTable table;
    return table;
}

} // namespace

// Pushes a frame for the duration of a scope; unwinding pops it and drops what it left on the stacks.
struct FrameScope {
    FrameScope(Interpreter& vm, Frame& frame, size_t registers) : m_vm(vm), m_registerBase(vm.m_registers.size())
    {
        if (vm.m_frames.size() >= vm.m_limits.maxCallDepth + 1)
            vm.stop("Script stopped: more than " + std::to_string(vm.m_limits.maxCallDepth) + " levels of recursion");
        if (!vm.m_registers.hasRoom(registers))
            vm.stop("Script stopped: out of registers");
        frame.registers = vm.m_registers.grow(registers);
        frame.registerCount = uint32_t(registers);
        frame.stackBase = vm.m_stack.size();
        vm.m_frames.push_back(&frame);
    }
    ~FrameScope()
    {
        Frame& frame = *m_vm.m_frames.back();
        m_vm.m_stack.truncate(frame.stackBase);
        m_vm.m_registers.truncate(m_registerBase);
        m_vm.m_frames.pop_back();
    }
    FrameScope(const FrameScope&) = delete;
    FrameScope& operator=(const FrameScope&) = delete;

private:
    Interpreter& m_vm;
    size_t m_registerBase;
};

Interpreter::Interpreter(ScriptHost& host, InterpreterLimits limits)
    : m_host(host)
    , m_limits(limits)
    , m_stack(limits.maxStack)
    , m_registers(limits.maxRegisters)
{
    m_protos.object = m_heap.make<Object>(nullptr);
    m_protos.function = m_heap.make<FunctionObject>(m_protos.object, [](CallContext&) { return Value(); });
    m_global = m_heap.make<Object>(m_protos.object);
    m_heap.addRoot(m_global);
    m_heap.addRoot(m_protos.object);
    m_heap.addRoot(m_protos.function);
    m_rootSource = m_heap.addRootSource([this](Tracer& tracer) { traceRoots(tracer); });
    installBuiltins(*this);
}

Interpreter::~Interpreter() = default;

void Interpreter::traceRoots(Tracer& tracer)
{
    Object* protos[] = { m_protos.object, m_protos.function, m_protos.array, m_protos.string,
                         m_protos.number, m_protos.boolean, m_protos.error };
    for (Object* p : protos)
        tracer.mark(p);
    for (size_t i = 0; i < m_stack.size(); ++i)
        tracer.mark(m_stack.at(i));
    for (size_t i = 0; i < m_registers.size(); ++i)
        tracer.mark(m_registers.at(i));
    for (const Frame* f : m_frames) {
        if (f->captured) {
            for (Object* o : *f->captured)
                tracer.mark(o);
        }
        for (Object* o : f->withs)
            tracer.mark(o);
        Object* held[] = { f->activation, f->thisObject, f->target, f->originalTarget, f->callee, f->home, f->arguments, f->super };
        for (Object* o : held)
            tracer.mark(o);
        for (const Value& v : f->args)
            tracer.mark(v);
        tracer.mark(f->returnValue);
    }
    tracer.mark(m_thrown);
    m_timers.trace(tracer);
}

int Interpreter::version() const
{
    return m_frames.empty() ? m_defaultVersion : m_frames.back()->version;
}

// --- Entry points ----------------------------------------------------------

void Interpreter::startClock()
{
    m_deadline = std::chrono::steady_clock::now() + m_limits.timeLimit;
    m_totalActions += m_actionCount;
    m_actionCount = 0;
}

template<typename Body>
bool Interpreter::guarded(Body&& body, std::initializer_list<const Value*> keep, std::span<const Value> keepArgs,
                          const Value* result)
{
    const bool outermost = m_frames.empty();
    const size_t stackBase = m_stack.size();
    if (outermost) {
        // What the host hands in (a timer's function it took from the list, say)
        // may be rooted nowhere else: it sits on the stack while a collection runs.
        for (const Value* value : keep) {
            if (value && m_stack.hasRoom(1))
                m_stack.push(*value);
        }
        for (const Value& value : keepArgs) {
            if (m_stack.hasRoom(1))
                m_stack.push(value);
        }
        if (m_heap.isOverLimit() || m_heap.isCollectionDue())
            m_heap.collect();
        startClock();
    }
    bool ok = false;
    try {
        body();
        ok = true;
    } catch (const ThrowSignal&) {
        std::string text = "Uncaught exception";
        try {
            text += ": " + toString(m_thrown).toStd();
        } catch (...) {
        }
        m_thrown = Value();
        m_host.report(text);
    } catch (const StopSignal& stop) {
        m_host.report(stop.reason);
    } catch (const std::bad_alloc&) {
        m_host.report("Script stopped: out of memory");
    }
    m_stack.truncate(stackBase);
    if (outermost && m_heap.isCollectionDue()) {
        // The result goes back to the host after this collection: it must survive it.
        if (result && m_stack.hasRoom(1))
            m_stack.push(*result);
        m_heap.collect();
        m_stack.truncate(stackBase);
    }
    return ok;
}

RunStatus Interpreter::run(const ActionBlock& block, Object* clip)
{
    const bool ok = guarded([&] {
        Frame frame;
        frame.code = block.bytes;
        frame.version = block.swfVersion;
        frame.mode = caseModeFor(block.swfVersion);
        frame.owner = &block.owner;
        frame.thisObject = clip;
        frame.target = clip;
        frame.originalTarget = clip;
        FrameScope scope(*this, frame, 4);
        (void)runRange(frame, 0, frame.code.size());
    });
    return ok ? RunStatus::Completed : RunStatus::Stopped;
}

std::optional<Value> Interpreter::call(const Value& function, const Value& thisValue, std::span<const Value> args)
{
    Value result;
    const bool ok = guarded(
        [&] { result = invoke(function, thisValue, args); }, {&function, &thisValue}, args, &result);
    if (!ok)
        return std::nullopt;
    return result;
}

std::optional<Value> Interpreter::callMethod(const Value& object, std::string_view name, std::span<const Value> args)
{
    Value result;
    bool found = false;
    const bool ok = guarded(
        [&] {
            const Value method = getMember(object, String(name));
            if (!method.isObject() || !method.asObject()->isFunction())
                return;
            found = true;
            result = invoke(method, object, args);
        },
        {&object}, args, &result);
    if (!ok || !found)
        return std::nullopt;
    return result;
}

void Interpreter::runDueTimers(double nowMs, uint32_t maxFires)
{
    for (uint32_t fired = 0; fired < maxFires; ++fired) {
        std::optional<Timer> timer = m_timers.takeDue(nowMs);
        if (!timer)
            return;
        if (timer->method.isEmpty())
            (void)call(timer->function, Value(), timer->args);
        else
            (void)callMethod(timer->function, timer->method.view(), timer->args);
    }
}

void Interpreter::collect()
{
    if (m_frames.empty())
        m_heap.collect();
}

// --- Faults and limits -----------------------------------------------------

void Interpreter::throwValue(Value value)
{
    m_thrown = std::move(value);
    throw ThrowSignal {};
}

void Interpreter::throwError(std::string_view message)
{
    throwValue(Value(newError(message)));
}

void Interpreter::stop(std::string reason)
{
    throw StopSignal { std::move(reason) };
}

void Interpreter::checkBudget()
{
    if (std::chrono::steady_clock::now() > m_deadline)
        stop("Script stopped: it ran longer than " + std::to_string(m_limits.timeLimit.count()) + " ms");
    if (m_heap.isOverLimit())
        stop("Script stopped: the script heap is full");
}

void Interpreter::stackOverflow()
{
    stop("Script stopped: operand stack overflow");
}

// --- The dispatch loop -----------------------------------------------------

Interpreter::Flow Interpreter::runRange(Frame& f, size_t start, size_t end)
{
    const uint8_t* code = f.code.data();
    const size_t size = f.code.size();
    const auto& handlers = dispatch().handlers;
    end = std::min(end, size);
    // Try and With bodies run as nested ranges; bound how deep the bytes can make the native stack.
    if (m_rangeDepth >= m_limits.maxNestedBodies + m_limits.maxCallDepth)
        stop("Script stopped: blocks nested too deeply");
    ++m_rangeDepth;
    struct Depth {
        uint32_t& depth;
        ~Depth() { --depth; }
    } depth { m_rangeDepth };
    f.pc = start;
    while (f.pc >= start && f.pc < end) {
        if (++m_actionCount >= kBudgetInterval) {
            m_totalActions += m_actionCount;
            m_actionCount = 0;
            checkBudget();
        }
        const size_t at = f.pc;
        const uint8_t op = code[at];
        if (op == 0)
            return Flow::End;
        std::span<const uint8_t> payload;
        if (op & 0x80) {
            if (size - at < 3)
                stop("Script stopped: truncated action at offset " + std::to_string(at));
            const size_t length = size_t(code[at + 1]) | size_t(code[at + 2]) << 8;
            if (size - at - 3 < length)
                stop("Script stopped: action at offset " + std::to_string(at) + " runs past its block");
            payload = std::span<const uint8_t>(code + at + 3, length);
            f.pc = at + 3 + length;
        } else {
            f.pc = at + 1;
        }
        const ActionHandler handler = handlers[op];
        if (!handler)
            continue; // actions this runtime does not know are skipped, as older players do
        const Flow flow = handler(*this, f, payload);
        if (flow != Flow::Next)
            return flow;
    }
    return Flow::Next;
}

// --- Calls -------------------------------------------------------------------

Value Interpreter::invoke(const Value& function, const Value& thisValue, std::span<const Value> args)
{
    Object* callee = function.toObjectOrNull();
    if (!callee)
        return Value();
    if (callee->kind() == ObjectKind::Super) {
        // super(...): the constructor the home prototype was made for, on the same object.
        auto* super = static_cast<SuperObject*>(callee);
        if (!super->home())
            return Value();
        const Value ctor = getMember(Value(super->home()), m_names.ctor);
        if (!ctor.isObject() || !ctor.asObject()->isFunction())
            return Value();
        return invokeAsConstructor(*static_cast<FunctionObject*>(ctor.asObject()), super->thisObject(), args,
                                   super->home()->proto());
    }
    if (!callee->isFunction())
        return Value();
    auto& fn = *static_cast<FunctionObject*>(callee);
    if (fn.isNative())
        return callNative(fn, thisValue, args, CallMode::Call);
    Object* self = thisValue.isObject() ? thisValue.asObject() : (thisValue.isNullish() ? nullptr : toObject(thisValue));
    return callScript(fn, self, args, nullptr, CallMode::Call);
}

Value Interpreter::invokeMember(const Value& object, const String& name, std::span<const Value> args)
{
    return invoke(getMember(object, name), object, args);
}

Value Interpreter::invokeAsConstructor(FunctionObject& function, Object* self, std::span<const Value> args, Object* home)
{
    if (function.isNative())
        return callNative(function, Value(self), args, CallMode::Construct);
    return callScript(function, self, args, home, CallMode::Construct);
}

Value Interpreter::construct(const Value& constructor, std::span<const Value> args)
{
    Object* callee = constructor.toObjectOrNull();
    if (!callee || !callee->isFunction())
        return Value();
    auto& fn = *static_cast<FunctionObject*>(callee);
    const Value protoValue = getMember(constructor, m_names.prototype);
    Object* proto = protoValue.isObject() ? protoValue.asObject() : m_protos.object;
    Object* instance = fn.allocator() ? fn.allocator()(*this, proto) : newObject();
    instance->setProto(proto);
    define(*instance, m_names.ctor, Value(callee));
    if (version() <= 5)
        define(*instance, m_names.constructor, Value(callee));
    // The new object sits on the stack while the constructor runs, where the collector sees it.
    push(Value(instance));
    const size_t slot = m_stack.size() - 1;
    Value result = invokeAsConstructor(fn, instance, args, proto);
    Value made = std::move(m_stack.at(slot));
    m_stack.truncate(slot);
    if (result.isObject() && fn.isNative())
        return result;
    return made;
}

Value Interpreter::callNative(FunctionObject& function, const Value& self, std::span<const Value> args, CallMode mode)
{
    if (m_frames.size() + m_callDepth >= m_limits.maxCallDepth + 1)
        stop("Script stopped: more than " + std::to_string(m_limits.maxCallDepth) + " levels of recursion");
    ++m_callDepth;
    struct Depth {
        uint32_t& depth;
        ~Depth() { --depth; }
    } depth { m_callDepth };
    CallContext context { *this, self, args, function, mode };
    return function.native()(context);
}

namespace {

// What DefineFunction2 loads into registers, in register order.
struct Preload {
    uint16_t flag;
    int which; // 0 this, 1 arguments, 2 super, 3 _root, 4 _parent, 5 _global
};
constexpr Preload kPreloads[] = {
    { FunctionFlag::PreloadThis, 0 }, { FunctionFlag::PreloadArguments, 1 }, { FunctionFlag::PreloadSuper, 2 },
    { FunctionFlag::PreloadRoot, 3 }, { FunctionFlag::PreloadParent, 4 }, { FunctionFlag::PreloadGlobal, 5 },
};

} // namespace

Value Interpreter::callScript(FunctionObject& function, Object* self, std::span<const Value> args, Object* home, CallMode mode)
{
    (void)mode;
    const ScriptCode& code = *function.code();
    Frame frame;
    frame.code = code.body;
    frame.version = code.swfVersion;
    frame.mode = caseModeFor(code.swfVersion);
    frame.pool = function.pool();
    frame.owner = &code.owner;
    frame.captured = &function.scope();
    frame.thisObject = self;
    frame.callee = &function;
    frame.home = home ? home : (self ? self->proto() : nullptr);
    frame.args = args;
    frame.flags = code.flavor == FunctionFlavor::Registers ? code.flags : 0;
    // Timeline actions inside a function act on the clip it was defined on.
    const auto& scope = function.scope();
    frame.target = frame.originalTarget = scope.size() > 1 ? scope[1] : nullptr;

    size_t registers = 4;
    if (code.flavor == FunctionFlavor::Registers)
        registers = std::max<size_t>(code.registerCount, 1);
    FrameScope frameScope(*this, frame, registers);

    if (code.flavor == FunctionFlavor::Basic) {
        Object* activation = activationOf(frame);
        for (size_t i = 0; i < code.params.size(); ++i)
            activation->properties().put(code.params[i].name, i < args.size() ? args[i] : Value(), 0, frame.mode);
    } else {
        uint32_t reg = 1;
        for (const Preload& preload : kPreloads) {
            if (!(code.flags & preload.flag) || reg >= frame.registerCount)
                continue;
            Value v;
            switch (preload.which) {
            case 0: v = Value(self); if (!self) v = Value(); break;
            case 1: v = Value(argumentsOf(frame)); break;
            case 2: v = Value(superOf(frame)); break;
            case 3: v = getVariable(frame, m_names.root); break;
            case 4: v = getVariable(frame, m_names.parent); break;
            case 5: v = Value(m_global); break;
            }
            frame.registers[reg++] = std::move(v);
        }
        for (size_t i = 0; i < code.params.size(); ++i) {
            const FunctionParam& param = code.params[i];
            Value arg = i < args.size() ? args[i] : Value();
            if (param.reg != 0 && param.reg < frame.registerCount)
                frame.registers[param.reg] = std::move(arg);
            else
                activationOf(frame)->properties().put(param.name, std::move(arg), 0, frame.mode);
        }
    }
    const Flow flow = runRange(frame, 0, frame.code.size());
    return flow == Flow::Return ? frame.returnValue : Value();
}

Object* Interpreter::activationOf(Frame& frame)
{
    if (!frame.activation && frame.isFunction())
        frame.activation = m_heap.make<Object>(nullptr);
    return frame.activation;
}

std::vector<Object*> Interpreter::captureScope(Frame& frame)
{
    std::vector<Object*> scope;
    if (frame.captured) {
        scope = *frame.captured;
        scope.push_back(activationOf(frame));
    } else {
        scope.push_back(m_global);
        scope.push_back(frame.originalTarget ? frame.originalTarget : m_global);
    }
    scope.insert(scope.end(), frame.withs.begin(), frame.withs.end());
    if (scope.size() > m_limits.maxScopeDepth)
        stop("Script stopped: scope chain too deep");
    return scope;
}

// --- Conversions -------------------------------------------------------------

Value Interpreter::toPrimitive(const Value& value, PrimitiveHint hint)
{
    Object* object = value.toObjectOrNull();
    if (!object)
        return value;
    if (m_host.isClip(*object))
        return hint == PrimitiveHint::Number ? Value(std::numeric_limits<double>::quiet_NaN())
                                             : Value(String(m_host.targetPath(*object, PathStyle::Dot)));
    const String* order[2] = { &m_names.valueOf, &m_names.toString };
    if (hint == PrimitiveHint::String)
        std::swap(order[0], order[1]);
    for (const String* name : order) {
        const Value method = getMember(value, *name);
        if (method.isObject() && method.asObject()->isFunction()) {
            Value result = invoke(method, value, {});
            if (result.isPrimitive())
                return result;
        }
    }
    return Value(object->isFunction() ? "[type Function]" : "[object Object]");
}

double Interpreter::toNumber(const Value& value)
{
    if (value.isNumber())
        return value.asNumber();
    return primitiveToNumber(toPrimitive(value, PrimitiveHint::Number), version());
}

String Interpreter::toString(const Value& value)
{
    if (value.isString())
        return value.asString();
    return primitiveToString(toPrimitive(value, PrimitiveHint::String), version());
}

bool Interpreter::toBoolean(const Value& value) const
{
    return flash::script::toBoolean(value, version());
}

Object* Interpreter::toObject(const Value& value)
{
    switch (value.type()) {
    case ValueType::Object:
        return value.asObject();
    case ValueType::String:
        return m_heap.make<BoxedObject>(m_protos.string, value);
    case ValueType::Number:
        return m_heap.make<BoxedObject>(m_protos.number, value);
    case ValueType::Boolean:
        return m_heap.make<BoxedObject>(m_protos.boolean, value);
    default:
        return nullptr;
    }
}

// --- Factories -------------------------------------------------------------

Object* Interpreter::newObject()
{
    if (m_heap.isOverLimit() && isRunning())
        stop("Script stopped: the script heap is full");
    return m_heap.make<Object>(m_protos.object);
}

ArrayObject* Interpreter::newArray()
{
    if (m_heap.isOverLimit() && isRunning())
        stop("Script stopped: the script heap is full");
    return m_heap.make<ArrayObject>(m_protos.array);
}

FunctionObject* Interpreter::newNative(NativeFunction native, Value data)
{
    return m_heap.make<FunctionObject>(m_protos.function, native, std::move(data));
}

FunctionObject* Interpreter::newConstructor(NativeFunction native, Object* prototype, InstanceAllocator allocator)
{
    FunctionObject* ctor = newNative(native);
    ctor->setAllocator(allocator);
    define(*ctor, m_names.prototype, Value(prototype));
    define(*prototype, m_names.constructor, Value(static_cast<Object*>(ctor)));
    return ctor;
}

Object* Interpreter::newError(std::string_view message)
{
    Object* error = m_heap.make<Object>(m_protos.error ? m_protos.error : m_protos.object, ObjectKind::Error);
    error->properties().put(m_names.message, Value(message), 0);
    return error;
}

String Interpreter::makeString(std::string text)
{
    if (text.size() > m_limits.maxStringLength)
        stop("Script stopped: a string grew past " + std::to_string(m_limits.maxStringLength) + " bytes");
    return String(text);
}

} // namespace flash::script
