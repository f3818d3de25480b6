// Where the ActionScript compiler writes one block of code: it merges
// consecutive pushes into one Push and turns strings into constant pool indices.
#pragma once

#include "Avm1Assembler.h"

#include <map>
#include <string>
#include <vector>

namespace swfw::as {

// The strings of a whole block, shared by the block and the functions inside it.
class ConstantPool {
public:
    explicit ConstantPool(bool enabled) : m_enabled(enabled) {}

    // The string's index, added on first use; none when pooling is off or the pool is full.
    [[nodiscard]] std::optional<uint16_t> indexOf(const std::string& s);
    [[nodiscard]] const std::vector<std::string>& strings() const { return m_strings; }

private:
    bool m_enabled;
    std::vector<std::string> m_strings;
    std::map<std::string, uint16_t> m_index;
    size_t m_payloadBytes = 2; // the count field
};

class AsEmitter {
public:
    explicit AsEmitter(ConstantPool& pool) : m_pool(pool) {}

    void push(const PushValue& value);
    void pushString(const std::string& s);
    void pushNumber(double n);
    // The assembler, pending pushes written first: for any action other than Push.
    [[nodiscard]] Avm1Assembler& ops();
    [[nodiscard]] Label newLabel() { return m_code.newLabel(); }
    void bind(Label label) { ops().bind(label); }

    [[nodiscard]] ConstantPool& pool() { return m_pool; }
    // The finished code, pending pushes included.
    [[nodiscard]] const Avm1Assembler& finish() { return ops(); }

private:
    ConstantPool& m_pool;
    Avm1Assembler m_code;
    std::vector<PushValue> m_pending;
    size_t m_pendingBytes = 0;
};

} // namespace swfw::as
