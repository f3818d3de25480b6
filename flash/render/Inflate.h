// Bounded zlib inflation for the compressed planes of bitmap tags.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace flash {

// Inflates a zlib stream, stopping after `maxBytes` of output (what the caller
// can use). A stream that fails before giving `minBytes` yields nothing; a
// truncated stream that already gave enough is accepted, as players do.
[[nodiscard]] std::optional<std::vector<uint8_t>>
inflateBounded(std::span<const uint8_t> compressed, size_t minBytes, size_t maxBytes);

} // namespace flash
