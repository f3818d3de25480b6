// Payload decoders: every read is checked against the payload's length.
#include "flash/script/ActionPayloads.h"

#include <cstring>

namespace flash::script {
namespace {

bool readU8(std::span<const uint8_t> p, size_t& pos, uint8_t& out)
{
    if (pos + 1 > p.size())
        return false;
    out = p[pos++];
    return true;
}

bool readU16(std::span<const uint8_t> p, size_t& pos, uint16_t& out)
{
    if (pos + 2 > p.size())
        return false;
    out = uint16_t(p[pos] | (p[pos + 1] << 8));
    pos += 2;
    return true;
}

bool readU32(std::span<const uint8_t> p, size_t& pos, uint32_t& out)
{
    if (pos + 4 > p.size())
        return false;
    out = uint32_t(p[pos]) | uint32_t(p[pos + 1]) << 8 | uint32_t(p[pos + 2]) << 16 | uint32_t(p[pos + 3]) << 24;
    pos += 4;
    return true;
}

} // namespace

std::optional<String> readString(std::span<const uint8_t> payload, size_t& pos)
{
    for (size_t end = pos; end < payload.size(); ++end) {
        if (payload[end] == 0) {
            String s(std::string_view(reinterpret_cast<const char*>(payload.data() + pos), end - pos));
            pos = end + 1;
            return s;
        }
    }
    return std::nullopt;
}

std::optional<FunctionHeader> decodeFunction(std::span<const uint8_t> payload, FunctionFlavor flavor)
{
    FunctionHeader h;
    h.flavor = flavor;
    size_t pos = 0;
    auto name = readString(payload, pos);
    uint16_t count = 0;
    if (!name || !readU16(payload, pos, count))
        return std::nullopt;
    h.name = *name;
    if (flavor == FunctionFlavor::Registers) {
        if (!readU8(payload, pos, h.registerCount) || !readU16(payload, pos, h.flags))
            return std::nullopt;
    }
    for (uint16_t i = 0; i < count; ++i) {
        FunctionParam param;
        if (flavor == FunctionFlavor::Registers && !readU8(payload, pos, param.reg))
            return std::nullopt;
        auto paramName = readString(payload, pos);
        if (!paramName)
            return std::nullopt;
        param.name = *paramName;
        h.params.push_back(std::move(param));
    }
    if (!readU16(payload, pos, h.codeSize) || pos != payload.size())
        return std::nullopt;
    return h;
}

std::optional<TryHeader> decodeTry(std::span<const uint8_t> payload)
{
    TryHeader h;
    size_t pos = 0;
    uint8_t flags = 0;
    if (!readU8(payload, pos, flags) || !readU16(payload, pos, h.trySize) || !readU16(payload, pos, h.catchSize)
        || !readU16(payload, pos, h.finallySize))
        return std::nullopt;
    h.hasCatch = flags & 1;
    h.hasFinally = flags & 2;
    h.catchInRegister = flags & 4;
    if (h.catchInRegister) {
        if (!readU8(payload, pos, h.catchRegister))
            return std::nullopt;
    } else {
        auto name = readString(payload, pos);
        if (!name)
            return std::nullopt;
        h.catchName = *name;
    }
    return h;
}

std::optional<ConstantPool> decodeConstantPool(std::span<const uint8_t> payload)
{
    size_t pos = 0;
    uint16_t count = 0;
    if (!readU16(payload, pos, count))
        return std::nullopt;
    ConstantPool pool;
    pool.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        auto s = readString(payload, pos);
        if (!s)
            return std::nullopt;
        pool.push_back(std::move(*s));
    }
    return pool;
}

bool PushReader::next(PushItem& item)
{
    uint8_t type = 0;
    if (!readU8(m_payload, m_pos, type))
        return false;
    item.kind = PushKind::Literal;
    switch (type) {
    case 0: {
        auto s = readString(m_payload, m_pos);
        if (!s)
            return false;
        item.literal = Value(std::move(*s));
        return true;
    }
    case 1: {
        uint32_t bits = 0;
        if (!readU32(m_payload, m_pos, bits))
            return false;
        float f;
        std::memcpy(&f, &bits, sizeof f);
        item.literal = Value(double(f));
        return true;
    }
    case 2:
        item.literal = Value::null();
        return true;
    case 3:
        item.literal = Value();
        return true;
    case 4: {
        uint8_t reg = 0;
        if (!readU8(m_payload, m_pos, reg))
            return false;
        item.kind = PushKind::Register;
        item.index = reg;
        return true;
    }
    case 5: {
        uint8_t b = 0;
        if (!readU8(m_payload, m_pos, b))
            return false;
        item.literal = Value(b != 0);
        return true;
    }
    case 6: {
        // Doubles are stored as two little-endian halves, the high word first.
        uint32_t high = 0, low = 0;
        if (!readU32(m_payload, m_pos, high) || !readU32(m_payload, m_pos, low))
            return false;
        const uint64_t bits = uint64_t(high) << 32 | low;
        double d;
        std::memcpy(&d, &bits, sizeof d);
        item.literal = Value(d);
        return true;
    }
    case 7: {
        uint32_t i = 0;
        if (!readU32(m_payload, m_pos, i))
            return false;
        item.literal = Value(double(int32_t(i)));
        return true;
    }
    case 8:
    case 9: {
        item.kind = PushKind::Constant;
        if (type == 8) {
            uint8_t i = 0;
            if (!readU8(m_payload, m_pos, i))
                return false;
            item.index = i;
        } else {
            uint16_t i = 0;
            if (!readU16(m_payload, m_pos, i))
                return false;
            item.index = i;
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace flash::script
