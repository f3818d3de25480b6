// A small writer of movie files for tests: tags, bit fields and headers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace flash::test {

class Bytes {
public:
    Bytes& u8(uint8_t v) { m_data.push_back(v); return *this; }
    Bytes& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    Bytes& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    Bytes& append(std::span<const uint8_t> bytes)
    {
        m_data.insert(m_data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Bytes& cString(const std::string& s)
    {
        m_data.insert(m_data.end(), s.begin(), s.end());
        return u8(0);
    }
    // Bit fields, most significant bit first; `flushBits` pads to a byte.
    Bytes& ub(uint32_t v, unsigned n);
    Bytes& sb(int32_t v, unsigned n) { return ub(uint32_t(v) & (n >= 32 ? ~0u : ((1u << n) - 1)), n); }
    Bytes& flushBits();

    Bytes& rect(int32_t xMin, int32_t xMax, int32_t yMin, int32_t yMax, unsigned bits = 16);
    Bytes& identityMatrix() { return ub(0, 1).ub(0, 1).ub(0, 5).flushBits(); }
    Bytes& translateMatrix(int32_t tx, int32_t ty) { return ub(0, 1).ub(0, 1).ub(16, 5).sb(tx, 16).sb(ty, 16).flushBits(); }

    [[nodiscard]] const std::vector<uint8_t>& data() const { return m_data; }
    [[nodiscard]] size_t size() const { return m_data.size(); }
    operator std::span<const uint8_t>() const { return m_data; }

private:
    std::vector<uint8_t> m_data;
    uint8_t m_bitBuffer = 0;
    unsigned m_bitCount = 0;
};

// A tag record: short header when the body fits, long header otherwise (or when forced).
[[nodiscard]] std::vector<uint8_t> tag(uint16_t code, std::span<const uint8_t> body = {}, bool forceLong = false);
// A tag header announcing `declaredLength` bytes, followed by `body` whatever its real size.
[[nodiscard]] std::vector<uint8_t> tagWithLength(uint16_t code, uint32_t declaredLength, std::span<const uint8_t> body);

struct MovieOptions {
    uint8_t version = 10;
    char signature = 'F';        // 'F', 'C' (zlib) or 'Z' (LZMA)
    uint16_t headerFrames = 1;
    uint16_t frameRate = 24 << 8;
    int64_t declaredLength = -1; // -1: the real length
};

// Header (stage 550x400) plus the given tag bytes, compressed as asked.
[[nodiscard]] std::vector<uint8_t> movie(std::span<const uint8_t> tags, const MovieOptions& options = {});

// Concatenation helper.
[[nodiscard]] std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> parts);

// Common tags.
[[nodiscard]] std::vector<uint8_t> showFrame();
[[nodiscard]] std::vector<uint8_t> endTag();
// DefineShape (1) with one solid red fill and a 100x100 twip square.
[[nodiscard]] std::vector<uint8_t> squareShape(uint16_t id);
// PlaceObject2 of a new character at a depth, identity matrix.
[[nodiscard]] std::vector<uint8_t> place2(uint16_t depth, uint16_t characterId);
[[nodiscard]] std::vector<uint8_t> removeObject2(uint16_t depth);
[[nodiscard]] std::vector<uint8_t> frameLabel(const std::string& label);
// DefineSprite holding the given tags (an End tag is not added).
[[nodiscard]] std::vector<uint8_t> sprite(uint16_t id, uint16_t frames, std::span<const uint8_t> tags);

// zlib and raw LZMA compression for building compressed movies.
[[nodiscard]] std::vector<uint8_t> zlibCompress(std::span<const uint8_t> data);
[[nodiscard]] std::vector<uint8_t> lzmaCompress(std::span<const uint8_t> data, std::vector<uint8_t>& properties);

} // namespace flash::test
