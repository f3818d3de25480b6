// zlib and LZMA decompression with a cap on the output size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace flash {

// What came out of a compressed stream. Broken or cut-off streams still give
// everything decoded before the fault; `problem` then says what went wrong.
struct Decompressed {
    std::vector<uint8_t> data;
    bool hitCap = false;  // output stopped at the cap; the rest was not decoded
    std::string problem;  // empty when the stream ended cleanly
};

// `sizeHint` (e.g. a declared length) only guides the first allocation, never
// beyond what the cap and a sane expansion ratio allow.
[[nodiscard]] Decompressed inflateZlib(std::span<const uint8_t> input, size_t cap, size_t sizeHint = 0);

// Raw LZMA data with its 5-byte properties block (lc/lp/pb and dictionary size).
[[nodiscard]] Decompressed decodeLzma(std::span<const uint8_t> properties, std::span<const uint8_t> input,
                                      size_t cap, size_t sizeHint = 0);

} // namespace flash
