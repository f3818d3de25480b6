// The outer layer of a movie file: signature, version, and the (possibly
// compressed) body after the 8-byte header.
#pragma once

#include "flash/io/Result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace flash {

enum class SwfCompression : uint8_t { None, Zlib, Lzma };

struct SwfContainer {
    SwfContainer() = default;
    SwfContainer(SwfContainer&&) = default;
    SwfContainer& operator=(SwfContainer&&) = default;
    SwfContainer(const SwfContainer&) = delete; // `body` may point into `ownedBody`

    char signature[4] = {0, 0, 0, 0}; // "FWS", "CWS" or "ZWS"
    SwfCompression compression = SwfCompression::None;
    uint8_t version = 0;
    uint32_t declaredLength = 0; // uncompressed file length, header included, as the file claims
    // The uncompressed bytes after the 8-byte header. For an uncompressed file
    // it points into the caller's buffer; otherwise into `ownedBody`.
    std::span<const uint8_t> body;
    std::vector<uint8_t> ownedBody;
    std::vector<std::string> problems; // recovered faults (broken or oversized streams)
};

inline constexpr size_t kSwfHeaderSize = 8;

// True if the bytes start like a movie file.
[[nodiscard]] bool looksLikeSwf(std::span<const uint8_t> bytes);

// Reads the header and decompresses the body, never producing more than
// `maxBodyBytes`. Fails only if the bytes are not a movie at all.
[[nodiscard]] Result<SwfContainer> openSwfContainer(std::span<const uint8_t> bytes, size_t maxBodyBytes);

} // namespace flash
