// The AVM1 interpreter: runs action blocks and calls script functions on
// behalf of the host, owns the heap, the global object and the timers.
//
// Host entry points (run, call, callMethod, runDueTimers, collect) never throw:
// script errors, malformed bytes and limits stop the running block and are
// reported through ScriptHost::report. The other public members are for
// native functions and builtins while a script runs; they may unwind with the
// interpreter's internal signals (a script `throw`, or a stop), which natives
// must let pass.
#pragma once

#include "flash/script/CallContext.h"
#include "flash/script/Frame.h"
#include "flash/script/Heap.h"
#include "flash/script/Names.h"
#include "flash/script/OperandStack.h"
#include "flash/script/ScriptHost.h"
#include "flash/script/Timers.h"
#include "flash/script/Value.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <initializer_list>
#include <span>
#include <string_view>

namespace flash::script {

class ArrayObject;
class FunctionObject;

// One block of actions as the movie holds it.
struct ActionBlock {
    std::span<const uint8_t> bytes;
    std::shared_ptr<const void> owner; // keeps `bytes` alive for functions defined inside
    int swfVersion = 8;
};

enum class RunStatus : uint8_t { Completed, Stopped };

struct InterpreterLimits {
    uint32_t maxCallDepth = 256;
    uint32_t maxScopeDepth = 64;      // With nesting plus closures
    uint32_t maxNestedBodies = 512;   // Try and With bodies inside one another, across all frames
    uint32_t maxStack = 1 << 16;      // operand stack entries
    uint32_t maxRegisters = 1 << 16;  // register file entries
    std::chrono::milliseconds timeLimit { 15'000 }; // per top-level block or call
    uint32_t maxStringLength = 1 << 24;
};

// The prototypes the runtime creates objects with.
struct Prototypes {
    Object* object = nullptr;
    Object* function = nullptr;
    Object* array = nullptr;
    Object* string = nullptr;
    Object* number = nullptr;
    Object* boolean = nullptr;
    Object* error = nullptr;
};

enum class PrimitiveHint : uint8_t { None, Number, String };

class Interpreter {
public:
    explicit Interpreter(ScriptHost& host, InterpreterLimits limits = {});
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // --- Host entry points -------------------------------------------------
    // Runs one block with `clip` as this and as the target of timeline actions.
    RunStatus run(const ActionBlock& block, Object* clip);
    // Calls a function value (an event handler); nullopt if it stopped with an error.
    std::optional<Value> call(const Value& function, const Value& thisValue, std::span<const Value> args = {});
    // Calls object[name](args) if that is a function; nullopt if absent or stopped.
    std::optional<Value> callMethod(const Value& object, std::string_view name, std::span<const Value> args = {});
    // Fires the intervals and timeouts due by `nowMs` (host clock), at most `maxFires`.
    void runDueTimers(double nowMs, uint32_t maxFires = 64);
    // A safe point: frees unreachable objects.
    void collect();
    // Actions run since the interpreter was made (counted in steps of a few thousand).
    [[nodiscard]] uint64_t actionCount() const { return m_totalActions + m_actionCount; }

    [[nodiscard]] Heap& heap() { return m_heap; }
    [[nodiscard]] ScriptHost& host() { return m_host; }
    [[nodiscard]] Object* global() const { return m_global; }
    [[nodiscard]] const Prototypes& prototypes() const { return m_protos; }
    [[nodiscard]] Prototypes& prototypes() { return m_protos; }
    [[nodiscard]] const Names& names() const { return m_names; }
    [[nodiscard]] Timers& timers() { return m_timers; }
    [[nodiscard]] const InterpreterLimits& limits() const { return m_limits; }
    void setLimits(const InterpreterLimits& limits) { m_limits = limits; }
    void setTimeLimit(std::chrono::milliseconds limit) { m_limits.timeLimit = limit; }
    // The SWF version movies without running code are taken to have (for host calls).
    void setDefaultVersion(int version) { m_defaultVersion = version; }

    // --- For natives and builtins, while a script runs --------------------
    // The SWF version of the innermost running code.
    [[nodiscard]] int version() const;
    [[nodiscard]] CaseMode caseMode() const { return caseModeFor(version()); }

    // Member access with boxing of primitives, getters, watches and __resolve.
    Value getMember(const Value& object, const String& name);
    void setMember(const Value& object, const String& name, const Value& value);
    bool deleteMember(const Value& object, const String& name);
    // Reads `name` from `object` or its prototypes (getters run with `receiver` as this); false if absent.
    bool tryGet(Object& object, const String& name, const Value& receiver, Value& out);
    // Whether `object` or its prototypes have `name`.
    [[nodiscard]] bool hasProperty(Object& object, const String& name);
    // The own names for..in lists, then the prototypes', without duplicates; in enumeration order.
    [[nodiscard]] std::vector<String> enumerableNames(Object& object);
    // A data property on `object` itself, ignoring flags, setters and watches (for installing builtins).
    void define(Object& object, const String& name, Value value, uint8_t flags = PropertyFlag::DontEnum);

    // Calls; `thisValue` may be anything.
    Value invoke(const Value& function, const Value& thisValue, std::span<const Value> args);
    Value invokeMember(const Value& object, const String& name, std::span<const Value> args);
    Value construct(const Value& constructor, std::span<const Value> args);
    // Runs `function` as a constructor on an existing object (`super(...)`, CallMode::Construct).
    Value invokeAsConstructor(FunctionObject& function, Object* self, std::span<const Value> args, Object* home);

    // Conversions by the running code's version (they may call valueOf/toString).
    Value toPrimitive(const Value& value, PrimitiveHint hint = PrimitiveHint::None);
    double toNumber(const Value& value);
    String toString(const Value& value);
    bool toBoolean(const Value& value) const;
    // The object a primitive is boxed into; null for undefined and null.
    Object* toObject(const Value& value);

    // Factories.
    Object* newObject();
    ArrayObject* newArray();
    FunctionObject* newNative(NativeFunction native, Value data = {});
    // A native with a fresh prototype object, for classes.
    FunctionObject* newConstructor(NativeFunction native, Object* prototype, InstanceAllocator allocator = nullptr);
    Object* newError(std::string_view message);
    String makeString(std::string text);

    // Unwinds to the innermost try block, or stops the block when none catches.
    [[noreturn]] void throwValue(Value value);
    [[noreturn]] void throwError(std::string_view message);
    // Stops the whole running block; `reason` is reported once.
    [[noreturn]] void stop(std::string reason);
    // Stops if the time limit or the heap limit is reached; natives call it in long loops.
    void checkBudget();

    // --- Machinery for the action handlers --------------------------------
    [[nodiscard]] OperandStack& stack() { return m_stack; }
    [[nodiscard]] Frame& frame() { return *m_frames.back(); }
    [[nodiscard]] bool isRunning() const { return !m_frames.empty(); }
    // Runs actions of the current frame from `start` while the position stays in [start, end).
    enum class Flow : uint8_t { Next, Return, End };
    Flow runRange(Frame& frame, size_t start, size_t end);
    Value getVariable(Frame& frame, const String& name);
    void setVariable(Frame& frame, const String& name, const Value& value);
    void defineLocal(Frame& frame, const String& name, const Value& value);
    bool deleteVariable(Frame& frame, const String& name);
    Object* activationOf(Frame& frame);
    // `arguments` and `super` of a function frame, made on first use.
    Object* argumentsOf(Frame& frame);
    Object* superOf(Frame& frame);
    std::vector<Object*> captureScope(Frame& frame);
    // The thrown value while a ThrowSignal unwinds.
    [[nodiscard]] Value& thrown() { return m_thrown; }
    // Resolves a target path string to a clip (SetTarget, tellTarget, GetProperty).
    Object* resolveTarget(Frame& frame, std::string_view path);
    void push(Value value)
    {
        if (!m_stack.hasRoom(1)) [[unlikely]]
            stackOverflow();
        m_stack.push(std::move(value));
    }
    Value pop() { return m_stack.pop(frame().stackBase); }

private:
    friend struct FrameScope;
    Value callScript(FunctionObject& function, Object* self, std::span<const Value> args, Object* home, CallMode mode);
    Value callNative(FunctionObject& function, const Value& self, std::span<const Value> args, CallMode mode);
    void enterFrame(Frame& frame);
    void leaveFrame();
    template<typename Body>
    // Runs a host entry point: faults reported, the clock started, the heap
    // collected around it with what is kept (the call's function, this and
    // arguments) and the `result` alive through it.
    bool guarded(Body&& body, std::initializer_list<const Value*> keep = {}, std::span<const Value> keepArgs = {},
                 const Value* result = nullptr);
    bool findVariable(Frame& frame, const String& name, Value& out);
    void traceRoots(Tracer& tracer);
    [[noreturn]] void stackOverflow();
    void startClock();

    ScriptHost& m_host;
    InterpreterLimits m_limits;
    Heap m_heap;
    Names m_names;
    Prototypes m_protos;
    Object* m_global = nullptr;
    Timers m_timers;
    OperandStack m_stack;
    OperandStack m_registers;
    std::vector<Frame*> m_frames;
    Value m_thrown;
    uint32_t m_callDepth = 0;
    uint32_t m_rangeDepth = 0;
    uint32_t m_actionCount = 0;
    uint64_t m_totalActions = 0;
    int m_defaultVersion = 8;
    std::chrono::steady_clock::time_point m_deadline;
    Heap::RootSourceId m_rootSource = 0;
};

} // namespace flash::script
