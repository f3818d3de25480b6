// Decoders of action payloads shared by the interpreter and the disassembler.
// Each rejects a truncated or inconsistent payload with nullopt.
#pragma once

#include "flash/script/ScriptCode.h"
#include "flash/script/Value.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace flash::script {

struct FunctionHeader {
    String name;
    std::vector<FunctionParam> params;
    uint16_t flags = 0;
    uint8_t registerCount = 0;
    uint16_t codeSize = 0;
    FunctionFlavor flavor = FunctionFlavor::Basic;
};

struct TryHeader {
    bool hasCatch = false;
    bool hasFinally = false;
    bool catchInRegister = false;
    uint16_t trySize = 0, catchSize = 0, finallySize = 0;
    String catchName;
    uint8_t catchRegister = 0;
};

enum class PushKind : uint8_t { Literal, Constant, Register };

struct PushItem {
    PushKind kind = PushKind::Literal;
    Value literal;
    uint32_t index = 0; // constant or register
};

[[nodiscard]] std::optional<FunctionHeader> decodeFunction(std::span<const uint8_t> payload, FunctionFlavor flavor);
[[nodiscard]] std::optional<TryHeader> decodeTry(std::span<const uint8_t> payload);
[[nodiscard]] std::optional<ConstantPool> decodeConstantPool(std::span<const uint8_t> payload);
// A NUL-terminated string at `pos`; advances past the terminator.
[[nodiscard]] std::optional<String> readString(std::span<const uint8_t> payload, size_t& pos);

// Walks the values of one Push payload.
class PushReader {
public:
    explicit PushReader(std::span<const uint8_t> payload) : m_payload(payload) { }
    [[nodiscard]] bool atEnd() const { return m_pos >= m_payload.size(); }
    // False on a bad type or a truncated value.
    bool next(PushItem& item);

private:
    std::span<const uint8_t> m_payload;
    size_t m_pos = 0;
};

} // namespace flash::script
