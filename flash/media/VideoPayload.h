// What of a VideoFrame's payload the codec reads, and whether it stands alone.
#pragma once

#include "flash/model/VideoDef.h"

#include <cstdint>
#include <optional>
#include <span>

namespace flash {

struct VideoPayload {
    std::span<const uint8_t> data;   // what the codec reads
    std::optional<bool> isKeyFrame; // known from the payload itself (screen video), or left to the decoder
};

// Some writers put the byte that precedes a frame in FLV files (frame type and
// codec id) before screen video payloads too; it is dropped when the picture
// header after it, and not the one at the start, names the stream's size.
// Screen video frames are key frames when they carry every block whole.
[[nodiscard]] VideoPayload readPayload(const VideoDef& video, std::span<const uint8_t> payload);

} // namespace flash
