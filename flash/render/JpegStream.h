// Repairs the JPEG streams that movies embed so that an ordinary decoder reads them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace flash {

// Joins encoding tables (may be empty) and image data into one JPEG stream.
// Movies split a picture into tables and image, each wrapped in its own
// start/end markers, and many writers put a stray end+start marker pair at the
// start of the image or in its middle; every end marker that is followed by
// more data is dropped together with the start marker after it. A stream the
// marker walk cannot follow is returned joined but otherwise untouched.
[[nodiscard]] std::vector<uint8_t> mergeJpegStreams(std::span<const uint8_t> tables,
                                                    std::span<const uint8_t> image);

[[nodiscard]] bool looksLikePng(std::span<const uint8_t> data);
[[nodiscard]] bool looksLikeGif(std::span<const uint8_t> data);

} // namespace flash
