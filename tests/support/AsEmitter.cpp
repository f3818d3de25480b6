// Push merging and the constant pool.
#include "AsEmitter.h"

#include <cmath>
#include <limits>

namespace swfw::as {

std::optional<uint16_t> ConstantPool::indexOf(const std::string& s)
{
    if (!m_enabled)
        return std::nullopt;
    if (auto it = m_index.find(s); it != m_index.end())
        return it->second;
    // The ConstantPool action's payload has a u16 length; later strings are pushed as they are.
    if (m_strings.size() == 0xFFFF || m_payloadBytes + s.size() + 1 > 0xFFFF)
        return std::nullopt;
    const auto index = static_cast<uint16_t>(m_strings.size());
    m_strings.push_back(s);
    m_index.emplace(s, index);
    m_payloadBytes += s.size() + 1;
    return index;
}

void AsEmitter::push(const PushValue& value)
{
    std::vector<uint8_t> encoded;
    value.encodeInto(encoded);
    if (m_pendingBytes + encoded.size() > 0xFFFF)
        (void)ops();
    m_pending.push_back(value);
    m_pendingBytes += encoded.size();
}

void AsEmitter::pushString(const std::string& s)
{
    if (const auto index = m_pool.indexOf(s))
        push(constant(*index));
    else
        push(PushValue(s));
}

void AsEmitter::pushNumber(double n)
{
    // Whole numbers that fit are stored as integers, the rest as doubles.
    const bool whole = std::isfinite(n) && n == std::trunc(n) && !(n == 0 && std::signbit(n));
    if (whole && n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
        push(PushValue(static_cast<int32_t>(n)));
    else
        push(PushValue(n));
}

Avm1Assembler& AsEmitter::ops()
{
    if (!m_pending.empty()) {
        m_code.push(std::span<const PushValue>(m_pending));
        m_pending.clear();
        m_pendingBytes = 0;
    }
    return m_code;
}

} // namespace swfw::as
