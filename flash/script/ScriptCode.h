// The code of a script function as DefineFunction and DefineFunction2 declare it.
#pragma once

#include "flash/script/String.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace flash::script {

using ConstantPool = std::vector<String>;

enum class FunctionFlavor : uint8_t { Basic, Registers };

// DefineFunction2's flags: which of this, arguments, super, _root, _parent and
// _global are loaded into registers (from register 1 up, in this order) or not made at all.
namespace FunctionFlag {
inline constexpr uint16_t PreloadThis = 0x0001;
inline constexpr uint16_t SuppressThis = 0x0002;
inline constexpr uint16_t PreloadArguments = 0x0004;
inline constexpr uint16_t SuppressArguments = 0x0008;
inline constexpr uint16_t PreloadSuper = 0x0010;
inline constexpr uint16_t SuppressSuper = 0x0020;
inline constexpr uint16_t PreloadRoot = 0x0040;
inline constexpr uint16_t PreloadParent = 0x0080;
inline constexpr uint16_t PreloadGlobal = 0x0100;
}

struct FunctionParam {
    String name;
    uint8_t reg = 0; // 0: a local variable, else the register it goes to
};

struct ScriptCode {
    std::shared_ptr<const void> owner; // keeps `body` alive
    std::span<const uint8_t> body;
    int swfVersion = 8;
    String name;
    std::vector<FunctionParam> params;
    uint16_t flags = 0;
    uint16_t registerCount = 4; // DefineFunction frames get the four global-style registers
    FunctionFlavor flavor = FunctionFlavor::Basic;
};

} // namespace flash::script
