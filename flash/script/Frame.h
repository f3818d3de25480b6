// The state of one running block or function call.
#pragma once

#include "flash/script/ScriptCode.h"
#include "flash/script/Value.h"

#include <memory>
#include <span>
#include <vector>

namespace flash::script {

class FunctionObject;
class ArrayObject;
class Object;

struct Frame {
    std::span<const uint8_t> code;
    size_t pc = 0;
    int version = 8;
    CaseMode mode = CaseMode::Sensitive;
    std::shared_ptr<const ConstantPool> pool;
    const std::shared_ptr<const void>* owner = nullptr; // what keeps `code` alive

    Value* registers = nullptr;
    uint32_t registerCount = 0;

    // The scope chain, innermost last: what a function closed over (null for a
    // block, whose chain is the global object then its target), then the
    // activation, then the objects of enclosing With actions.
    const std::vector<Object*>* captured = nullptr;
    Object* activation = nullptr;
    std::vector<Object*> withs;

    Object* thisObject = nullptr;
    Object* target = nullptr;         // SetTarget's current target (null: none found)
    Object* originalTarget = nullptr; // the clip the block or function belongs to
    FunctionObject* callee = nullptr; // null for a block
    Object* home = nullptr;           // where the running method was found, for `super`
    Object* arguments = nullptr;      // made on first use
    Object* super = nullptr;          // made on first use
    std::span<const Value> args;
    uint16_t flags = 0;               // the function's preload and suppress flags

    size_t stackBase = 0;
    Value returnValue;

    [[nodiscard]] bool isFunction() const { return callee != nullptr; }
};

} // namespace flash::script
