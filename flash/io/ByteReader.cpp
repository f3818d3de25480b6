// Out-of-line reads of ByteReader: the rarer number formats and strings.
#include "flash/io/ByteReader.h"

#include <algorithm>
#include <cmath>

namespace flash {

float ByteReader::f16()
{
    const uint16_t h = u16();
    const int sign = (h >> 15) ? -1 : 1;
    const int exponent = (h >> 10) & 0x1f;
    const int mantissa = h & 0x3ff;
    if (exponent == 0)
        return sign * std::ldexp(float(mantissa), -24);
    if (exponent == 31)
        return mantissa ? NAN : sign * INFINITY;
    return sign * std::ldexp(float(mantissa | 0x400), exponent - 25);
}

uint32_t ByteReader::encodedU32()
{
    uint32_t value = 0;
    for (int i = 0; i < 5; ++i) {
        const uint8_t b = u8();
        value |= uint32_t(b & 0x7f) << (7 * i);
        if (!(b & 0x80))
            break;
    }
    return value;
}

std::string ByteReader::cString()
{
    if (m_failed)
        return {};
    const auto begin = m_data.begin() + m_pos;
    const auto nul = std::find(begin, m_data.end(), uint8_t(0));
    if (nul == m_data.end()) {
        fail();
        return {};
    }
    std::string s(begin, nul);
    m_pos += s.size() + 1;
    return s;
}

} // namespace flash
