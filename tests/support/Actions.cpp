// Timeline action encoding: one byte codes, and codes 0x80 and up with a u16 length.
#include "Actions.h"

#include <stdexcept>

namespace swfw {

Actions& Actions::op(uint8_t code)
{
    m_code.push_back(code);
    return *this;
}

Actions& Actions::opWithData(uint8_t code, const std::vector<uint8_t>& data)
{
    if (data.size() > 0xFFFF)
        throw std::invalid_argument("action payload too long");
    m_code.push_back(code);
    m_code.push_back(static_cast<uint8_t>(data.size()));
    m_code.push_back(static_cast<uint8_t>(data.size() >> 8));
    m_code.insert(m_code.end(), data.begin(), data.end());
    return *this;
}

Actions& Actions::gotoFrame(uint16_t frame)
{
    return opWithData(0x81, {static_cast<uint8_t>(frame), static_cast<uint8_t>(frame >> 8)});
}

Actions& Actions::gotoLabel(std::string_view label)
{
    std::vector<uint8_t> data(label.begin(), label.end());
    data.push_back(0);
    return opWithData(0x8C, data);
}

Actions& Actions::raw(std::vector<uint8_t> bytes)
{
    m_code.insert(m_code.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<uint8_t> Actions::bytes() const
{
    auto out = m_code;
    out.push_back(0x00);
    return out;
}

} // namespace swfw
