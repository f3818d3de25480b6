// The one table of actions: code, name, payload layout and handler. The
// dispatch loop and the disassembler both read it.
#pragma once

#include "flash/script/Interpreter.h"

#include <cstdint>
#include <span>

namespace flash::script {

// How an action's payload is laid out (what the disassembler decodes).
enum class Payload : uint8_t {
    None,
    Frame,          // u16 frame
    GetUrl,         // url, target strings
    WaitForFrame,   // u16 frame, u8 skip count
    Text,           // one string (SetTarget, GoToLabel)
    Push,           // typed values
    Branch,         // s16 offset from the next action
    GetUrl2,        // u8 method and flags
    GotoFrame2,     // u8 flags, optional u16 scene bias
    Skip,           // u8 skip count (WaitForFrame2)
    ConstantPool,   // u16 count, strings
    Register,       // u8 register (StoreRegister)
    Function,       // DefineFunction header, then the body
    Function2,      // DefineFunction2 header, then the body
    With,           // u16 body size
    Try,            // Try header, then the blocks
    Bytes,          // anything else: shown as a byte count
};

using ActionHandler = Interpreter::Flow (*)(Interpreter& vm, Frame& frame, std::span<const uint8_t> payload);

struct ActionInfo {
    uint8_t code = 0;
    const char* name = nullptr;
    Payload payload = Payload::None;
    ActionHandler handler = nullptr;
};

// The entry for `code`, or null for codes no version defines.
[[nodiscard]] const ActionInfo* actionInfo(uint8_t code);
[[nodiscard]] std::span<const ActionInfo> actionTable();

} // namespace flash::script
