// Bounded little-endian reader over bytes from a file: every read is checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace flash {

// A read past the end never touches memory outside the span: it returns zero,
// and the reader stays failed from then on, so a parser can read a whole
// record and check failed() once. Sub-readers are limited to a length and
// remember their offset in the file for error messages.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> data, size_t fileOffset = 0)
        : m_data(data), m_fileOffset(fileOffset) { }

    [[nodiscard]] bool failed() const { return m_failed; }
    void fail() { m_failed = true; m_pos = m_data.size(); }
    [[nodiscard]] size_t size() const { return m_data.size(); }
    [[nodiscard]] size_t position() const { return m_pos; }
    [[nodiscard]] size_t remaining() const { return m_data.size() - m_pos; }
    [[nodiscard]] bool atEnd() const { return m_pos >= m_data.size(); }
    // Offset of the next byte in the (uncompressed) file.
    [[nodiscard]] size_t fileOffset() const { return m_fileOffset + m_pos; }

    uint8_t u8()
    {
        if (!has(1))
            return 0;
        return m_data[m_pos++];
    }
    uint16_t u16()
    {
        if (!has(2))
            return 0;
        const uint16_t v = uint16_t(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    uint32_t u32()
    {
        if (!has(4))
            return 0;
        const uint32_t v = uint32_t(m_data[m_pos]) | uint32_t(m_data[m_pos + 1]) << 8
            | uint32_t(m_data[m_pos + 2]) << 16 | uint32_t(m_data[m_pos + 3]) << 24;
        m_pos += 4;
        return v;
    }
    int16_t s16() { return static_cast<int16_t>(u16()); }
    int32_t s32() { return static_cast<int32_t>(u32()); }
    // 8.8 and 16.16 signed fixed point.
    double fixed8() { return s16() / 256.0; }
    double fixed16() { return s32() / 65536.0; }
    float f32()
    {
        const uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    float f16();
    // Variable-length unsigned integer, 7 bits per byte, at most 5 bytes.
    uint32_t encodedU32();
    // NUL-terminated string; a string without its terminator fails the reader.
    std::string cString();
    // `n` bytes, or an empty span (and failure) if fewer remain.
    std::span<const uint8_t> bytes(size_t n)
    {
        if (!has(n))
            return {};
        auto out = m_data.subspan(m_pos, n);
        m_pos += n;
        return out;
    }
    std::span<const uint8_t> rest() { return bytes(remaining()); }
    bool skip(size_t n) { return !bytes(n).empty() || n == 0; }
    // Moves to `pos` within this reader; a position past the end fails it.
    bool seek(size_t pos)
    {
        if (m_failed || pos > m_data.size()) {
            fail();
            return false;
        }
        m_pos = pos;
        return true;
    }
    // A reader over the next `n` bytes; fails both if fewer remain.
    ByteReader sub(size_t n)
    {
        const size_t start = fileOffset();
        auto span = bytes(n);
        ByteReader r(span, start);
        if (m_failed)
            r.fail();
        return r;
    }

private:
    bool has(size_t n)
    {
        if (m_failed || n > m_data.size() - m_pos) {
            fail();
            return false;
        }
        return true;
    }

    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
    size_t m_fileOffset = 0;
    bool m_failed = false;
};

} // namespace flash
