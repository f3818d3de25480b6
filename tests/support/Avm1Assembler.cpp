// Action encoding: one byte codes below 0x80, a u16 payload length from 0x80 on;
// branch offsets count from the end of the branch and are patched when the block is taken.
#include "Avm1Assembler.h"

#include <atomic>
#include <bit>
#include <limits>
#include <stdexcept>

namespace swfw {

namespace {

void putU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void putU32(std::vector<uint8_t>& out, uint32_t v)
{
    putU16(out, static_cast<uint16_t>(v));
    putU16(out, static_cast<uint16_t>(v >> 16));
}

void putString(std::vector<uint8_t>& out, std::string_view s)
{
    if (s.find('\0') != std::string_view::npos)
        throw std::invalid_argument("action strings end at their first zero byte; use raw() for such data");
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}

uint16_t checkedU16(size_t size, const char* what)
{
    if (size > 0xFFFF)
        throw std::length_error(std::string(what) + " is longer than 65535 bytes");
    return static_cast<uint16_t>(size);
}

uint32_t nextAssemblerId()
{
    static std::atomic<uint32_t> counter{0};
    return ++counter;
}

} // namespace

PushValue PushValue::ofType(Type type, int32_t integer, double number)
{
    PushValue v(integer);
    v.m_type = type;
    v.m_number = number;
    return v;
}

void PushValue::encodeInto(std::vector<uint8_t>& out) const
{
    out.push_back(static_cast<uint8_t>(m_type));
    switch (m_type) {
    case Type::String:
        putString(out, m_text);
        break;
    case Type::Float:
        putU32(out, std::bit_cast<uint32_t>(static_cast<float>(m_number)));
        break;
    case Type::Null:
    case Type::Undefined:
        break;
    case Type::Register:
    case Type::Boolean:
    case Type::Constant8:
        out.push_back(static_cast<uint8_t>(m_integer));
        break;
    case Type::Double: {
        // Doubles are stored as two little-endian halves, the high half first.
        const auto bits = std::bit_cast<uint64_t>(m_number);
        putU32(out, static_cast<uint32_t>(bits >> 32));
        putU32(out, static_cast<uint32_t>(bits));
        break;
    }
    case Type::Int:
        putU32(out, static_cast<uint32_t>(m_integer));
        break;
    case Type::Constant16:
        putU16(out, static_cast<uint16_t>(m_integer));
        break;
    }
}

Avm1Assembler::Avm1Assembler() : m_id(nextAssemblerId()) {}

Avm1Assembler& Avm1Assembler::op(uint8_t code)
{
    m_code.push_back(code);
    return *this;
}

Avm1Assembler& Avm1Assembler::action(uint8_t code, std::span<const uint8_t> payload)
{
    if (code < 0x80)
        throw std::invalid_argument("actions below 0x80 carry no payload");
    m_code.push_back(code);
    putU16(m_code, checkedU16(payload.size(), "an action payload"));
    m_code.insert(m_code.end(), payload.begin(), payload.end());
    return *this;
}

Avm1Assembler& Avm1Assembler::raw(std::span<const uint8_t> bytes)
{
    m_code.insert(m_code.end(), bytes.begin(), bytes.end());
    return *this;
}

Avm1Assembler& Avm1Assembler::append(const Avm1Assembler& other)
{
    return raw(other.code());
}

Avm1Assembler& Avm1Assembler::gotoFrame(uint16_t frame)
{
    std::vector<uint8_t> p;
    putU16(p, frame);
    return action(0x81, p);
}

Avm1Assembler& Avm1Assembler::getUrl(std::string_view url, std::string_view target)
{
    std::vector<uint8_t> p;
    putString(p, url);
    putString(p, target);
    return action(0x83, p);
}

Avm1Assembler& Avm1Assembler::storeRegister(uint8_t index)
{
    const uint8_t p[] = {index};
    return action(0x87, p);
}

Avm1Assembler& Avm1Assembler::constantPool(const std::vector<std::string>& strings)
{
    std::vector<uint8_t> p;
    putU16(p, checkedU16(strings.size(), "a constant pool count"));
    for (const auto& s : strings)
        putString(p, s);
    return action(0x88, p);
}

Avm1Assembler& Avm1Assembler::waitForFrame(uint16_t frame, uint8_t skipActions)
{
    std::vector<uint8_t> p;
    putU16(p, frame);
    p.push_back(skipActions);
    return action(0x8A, p);
}

Avm1Assembler& Avm1Assembler::setTarget(std::string_view target)
{
    std::vector<uint8_t> p;
    putString(p, target);
    return action(0x8B, p);
}

Avm1Assembler& Avm1Assembler::gotoLabel(std::string_view label)
{
    std::vector<uint8_t> p;
    putString(p, label);
    return action(0x8C, p);
}

Avm1Assembler& Avm1Assembler::waitForFrame2(uint8_t skipActions)
{
    const uint8_t p[] = {skipActions};
    return action(0x8D, p);
}

Avm1Assembler& Avm1Assembler::push(std::span<const PushValue> values)
{
    if (values.empty())
        throw std::invalid_argument("a Push needs at least one value; use raw() for an empty one");
    std::vector<uint8_t> p;
    for (const auto& v : values)
        v.encodeInto(p);
    return action(0x96, p);
}

Avm1Assembler& Avm1Assembler::getUrl2(UrlMethod method, UrlTarget target, UrlLoad load)
{
    const uint8_t p[] = {static_cast<uint8_t>(static_cast<uint8_t>(method) | static_cast<uint8_t>(target)
                                              | static_cast<uint8_t>(load))};
    return action(0x9A, p);
}

Avm1Assembler& Avm1Assembler::gotoFrame2(AfterGoto after, std::optional<uint16_t> sceneBias)
{
    std::vector<uint8_t> p{static_cast<uint8_t>((sceneBias ? 0x02 : 0x00) | static_cast<uint8_t>(after))};
    if (sceneBias)
        putU16(p, *sceneBias);
    return action(0x9F, p);
}

Avm1Assembler& Avm1Assembler::withBody(uint8_t code, std::span<const uint8_t> header, std::span<const uint8_t> body)
{
    action(code, header);
    return raw(body);
}

Avm1Assembler& Avm1Assembler::defineFunction(std::string_view name, const std::vector<std::string>& params,
                                             const Avm1Assembler& body)
{
    const auto code = body.code();
    std::vector<uint8_t> p;
    putString(p, name);
    putU16(p, checkedU16(params.size(), "a parameter count"));
    for (const auto& param : params)
        putString(p, param);
    putU16(p, checkedU16(code.size(), "a function body"));
    return withBody(0x9B, p, code);
}

Avm1Assembler& Avm1Assembler::defineFunction2(std::string_view name, uint8_t registerCount, uint16_t flags,
                                              const std::vector<RegisterParam>& params, const Avm1Assembler& body)
{
    const auto code = body.code();
    std::vector<uint8_t> p;
    putString(p, name);
    putU16(p, checkedU16(params.size(), "a parameter count"));
    p.push_back(registerCount);
    putU16(p, flags);
    for (const auto& param : params) {
        p.push_back(param.reg);
        putString(p, param.name);
    }
    putU16(p, checkedU16(code.size(), "a function body"));
    return withBody(0x8E, p, code);
}

Avm1Assembler& Avm1Assembler::with(const Avm1Assembler& body)
{
    const auto code = body.code();
    std::vector<uint8_t> p;
    putU16(p, checkedU16(code.size(), "a With body"));
    return withBody(0x94, p, code);
}

Avm1Assembler& Avm1Assembler::tryOp(const TryParts& parts)
{
    const auto tryCode = parts.body.code();
    const auto catchCode = parts.catchBody ? parts.catchBody->code() : std::vector<uint8_t>{};
    const auto finallyCode = parts.finallyBody ? parts.finallyBody->code() : std::vector<uint8_t>{};
    const auto* intoRegister = std::get_if<CatchRegister>(&parts.catchInto);
    uint8_t flags = 0;
    if (parts.catchBody) flags |= 0x01;
    if (parts.finallyBody) flags |= 0x02;
    if (intoRegister) flags |= 0x04;
    std::vector<uint8_t> p{flags};
    putU16(p, checkedU16(tryCode.size(), "a try block"));
    putU16(p, checkedU16(catchCode.size(), "a catch block"));
    putU16(p, checkedU16(finallyCode.size(), "a finally block"));
    if (intoRegister)
        p.push_back(intoRegister->reg);
    else
        putString(p, std::get<std::string>(parts.catchInto));
    action(0x8F, p);
    raw(tryCode);
    raw(catchCode);
    return raw(finallyCode);
}

Label Avm1Assembler::newLabel()
{
    m_labels.emplace_back();
    return Label{m_id, static_cast<uint32_t>(m_labels.size() - 1)};
}

void Avm1Assembler::checkLabel(Label label) const
{
    if (label.owner != m_id || label.index >= m_labels.size())
        throw std::invalid_argument("label belongs to another assembler");
}

Avm1Assembler& Avm1Assembler::bind(Label label)
{
    checkLabel(label);
    if (m_labels[label.index])
        throw std::logic_error("label bound twice");
    m_labels[label.index] = m_code.size();
    return *this;
}

Avm1Assembler& Avm1Assembler::branch(uint8_t code, int16_t offset)
{
    std::vector<uint8_t> p;
    putU16(p, static_cast<uint16_t>(offset));
    return action(code, p);
}

Avm1Assembler& Avm1Assembler::branch(uint8_t code, Label target)
{
    checkLabel(target);
    branch(code, int16_t{0});
    m_fixups.push_back({m_code.size() - 2, target.index});
    return *this;
}

Avm1Assembler& Avm1Assembler::jump(Label target) { return branch(0x99, target); }
Avm1Assembler& Avm1Assembler::jump(int16_t offset) { return branch(0x99, offset); }
Avm1Assembler& Avm1Assembler::ifOp(Label target) { return branch(0x9D, target); }
Avm1Assembler& Avm1Assembler::ifOp(int16_t offset) { return branch(0x9D, offset); }

std::vector<uint8_t> Avm1Assembler::code() const
{
    auto out = m_code;
    for (const auto& fix : m_fixups) {
        const auto& bound = m_labels[fix.label];
        if (!bound)
            throw std::logic_error("branch to a label that was never bound");
        const auto offset = static_cast<int64_t>(*bound) - static_cast<int64_t>(fix.at + 2);
        if (offset < std::numeric_limits<int16_t>::min() || offset > std::numeric_limits<int16_t>::max())
            throw std::length_error("branch offset does not fit 16 bits");
        out[fix.at] = static_cast<uint8_t>(offset);
        out[fix.at + 1] = static_cast<uint8_t>(static_cast<uint16_t>(offset) >> 8);
    }
    return out;
}

std::vector<uint8_t> Avm1Assembler::bytes() const
{
    auto out = code();
    out.push_back(0x00);
    return out;
}

} // namespace swfw
