// What a native function sees of its call: this, the arguments, the interpreter.
#pragma once

#include "flash/script/Value.h"

#include <span>

namespace flash::script {

class Interpreter;
class FunctionObject;

enum class CallMode : uint8_t { Call, Construct };

struct CallContext {
    Interpreter& vm;
    Value thisValue;
    std::span<const Value> args;
    FunctionObject& callee;
    CallMode mode = CallMode::Call;

    [[nodiscard]] size_t argc() const { return args.size(); }
    [[nodiscard]] Value arg(size_t i) const { return i < args.size() ? args[i] : Value(); }
    [[nodiscard]] Object* thisObject() const { return thisValue.toObjectOrNull(); }
    [[nodiscard]] bool isConstruct() const { return mode == CallMode::Construct; }
};

using NativeFunction = Value (*)(CallContext&);
// Makes the instance `new` hands a constructor (an array for Array, a wrapper for String...).
using InstanceAllocator = Object* (*)(Interpreter&, Object* proto);

} // namespace flash::script
