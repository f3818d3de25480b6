// Bit-field reads (most significant bit first) on top of a ByteReader.
#pragma once

#include "flash/io/ByteReader.h"

#include <cstdint>

namespace flash {

// Pulls bytes from the underlying reader as it needs them, so when a bit
// record ends the byte reader already stands at the next whole byte. Reads
// past the end return zero and leave the byte reader failed.
class BitReader {
public:
    explicit BitReader(ByteReader& bytes) : m_bytes(bytes) { }

    // Unsigned field of `n` bits, n <= 32.
    uint32_t ub(unsigned n)
    {
        if (n > 32) {
            m_bytes.fail();
            return 0;
        }
        uint64_t value = 0;
        while (n > 0) {
            if (m_bitsLeft == 0) {
                if (m_bytes.failed())
                    return 0;
                m_current = m_bytes.u8();
                m_bitsLeft = 8;
            }
            const unsigned take = n < m_bitsLeft ? n : m_bitsLeft;
            const unsigned shift = m_bitsLeft - take;
            value = (value << take) | ((m_current >> shift) & ((1u << take) - 1));
            m_bitsLeft = uint8_t(shift);
            n -= take;
        }
        return uint32_t(value);
    }
    // Signed (two's complement) field of `n` bits.
    int32_t sb(unsigned n)
    {
        if (n == 0)
            return 0;
        const uint32_t v = ub(n);
        if (n >= 32)
            return int32_t(v);
        const uint32_t signBit = 1u << (n - 1);
        return int32_t((v ^ signBit) - signBit);
    }
    // Signed 16.16 fixed-point field.
    double fb(unsigned n) { return sb(n) / 65536.0; }
    bool flag() { return ub(1) != 0; }
    // Drop the rest of the current byte.
    void align() { m_bitsLeft = 0; }
    [[nodiscard]] bool failed() const { return m_bytes.failed(); }
    // Bits of the current byte not read yet.
    [[nodiscard]] unsigned bitsLeft() const { return m_bitsLeft; }

private:
    ByteReader& m_bytes;
    uint8_t m_current = 0;
    uint8_t m_bitsLeft = 0;
};

} // namespace flash
