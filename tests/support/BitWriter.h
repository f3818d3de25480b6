// Bit- and byte-level output for movie files: little-endian integers,
// MSB-first bit fields, fixed-point values and the bit widths they need.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace swfw {

class BitWriter {
public:
    // Fields packed most significant bit first; byte writes align first.
    void ub(uint32_t value, int bits);
    void sb(int32_t value, int bits);
    void flag(bool set) { ub(set ? 1 : 0, 1); }
    void align();

    void u8(uint8_t v);
    void u16(uint16_t v);
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void u32(uint32_t v);
    void fixed8(double v);            // signed 8.8, as frame rates and miter limits store it
    void bytes(std::span<const uint8_t> data);
    void string(std::string_view s);  // NUL-terminated

    [[nodiscard]] const std::vector<uint8_t>& data() const { return m_data; }
    [[nodiscard]] std::vector<uint8_t> take();
    [[nodiscard]] size_t size() const { return m_data.size(); }
    // Overwrites a little-endian u32 already written (lengths known only later).
    void patchU32(size_t offset, uint32_t v);
    void patchU16(size_t offset, uint16_t v);

    // Width of the narrowest field that holds the value (0 for 0).
    [[nodiscard]] static int unsignedBits(uint32_t value);
    [[nodiscard]] static int signedBits(int32_t value);

private:
    std::vector<uint8_t> m_data;
    int m_bitsUsed = 0; // bits already filled in the last byte, 0 when aligned
};

} // namespace swfw
