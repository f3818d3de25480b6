// Bit- and byte-level output for movie files.
#include "BitWriter.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace swfw {

void BitWriter::ub(uint32_t value, int bits)
{
    if (bits < 0 || bits > 32 || (bits < 32 && (value >> bits) != 0))
        throw std::invalid_argument("BitWriter: value does not fit its unsigned field");
    for (int i = bits - 1; i >= 0; --i) {
        if (m_bitsUsed == 0)
            m_data.push_back(0);
        if ((value >> i) & 1u)
            m_data.back() |= static_cast<uint8_t>(0x80u >> m_bitsUsed);
        m_bitsUsed = (m_bitsUsed + 1) % 8;
    }
}

void BitWriter::sb(int32_t value, int bits)
{
    if (bits < signedBits(value) || bits > 32)
        throw std::invalid_argument("BitWriter: value does not fit its signed field");
    const uint32_t mask = bits == 32 ? 0xFFFFFFFFu : ((1u << bits) - 1u);
    ub(static_cast<uint32_t>(value) & mask, bits);
}

void BitWriter::align() { m_bitsUsed = 0; }

void BitWriter::u8(uint8_t v)
{
    align();
    m_data.push_back(v);
}

void BitWriter::u16(uint16_t v)
{
    u8(static_cast<uint8_t>(v));
    u8(static_cast<uint8_t>(v >> 8));
}

void BitWriter::u32(uint32_t v)
{
    u16(static_cast<uint16_t>(v));
    u16(static_cast<uint16_t>(v >> 16));
}

void BitWriter::fixed8(double v)
{
    i16(static_cast<int16_t>(std::lround(v * 256.0)));
}

void BitWriter::bytes(std::span<const uint8_t> data)
{
    align();
    m_data.insert(m_data.end(), data.begin(), data.end());
}

void BitWriter::string(std::string_view s)
{
    align();
    m_data.insert(m_data.end(), s.begin(), s.end());
    m_data.push_back(0);
}

std::vector<uint8_t> BitWriter::take()
{
    m_bitsUsed = 0;
    return std::exchange(m_data, {});
}

void BitWriter::patchU32(size_t offset, uint32_t v)
{
    if (offset + 4 > m_data.size())
        throw std::out_of_range("BitWriter: patch past the end");
    for (int i = 0; i < 4; ++i)
        m_data[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

void BitWriter::patchU16(size_t offset, uint16_t v)
{
    if (offset + 2 > m_data.size())
        throw std::out_of_range("BitWriter: patch past the end");
    m_data[offset] = static_cast<uint8_t>(v);
    m_data[offset + 1] = static_cast<uint8_t>(v >> 8);
}

int BitWriter::unsignedBits(uint32_t value)
{
    int bits = 0;
    while (value != 0) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

int BitWriter::signedBits(int32_t value)
{
    if (value == 0)
        return 0;
    // A negative value needs the bits of its complement plus the sign bit.
    const uint32_t magnitude = value < 0 ? ~static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    return unsignedBits(magnitude) + 1;
}

} // namespace swfw
