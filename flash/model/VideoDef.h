// An embedded video stream: its definition and the frames that arrive for it.
#pragma once

#include <cstdint>
#include <iterator>
#include <map>
#include <vector>

namespace flash {

// Codec ids as stored in DefineVideoStream.
enum class VideoCodec : uint8_t {
    SorensonH263 = 2,
    ScreenVideo = 3,
    Vp6 = 4,
    Vp6Alpha = 5,
    ScreenVideo2 = 6,
};

struct VideoDef {
    uint16_t id = 0;
    uint16_t frameCount = 0;
    uint16_t width = 0, height = 0; // pixels
    uint8_t deblocking = 0;         // 0: as each frame says, 1: off, 2 and up: on
    bool smoothing = false;
    uint8_t codec = 0;              // a VideoCodec, or an unknown value as stored
    // VideoFrame payloads by frame number; a number with no payload shows the frame before it.
    std::map<uint16_t, std::vector<uint8_t>> frames;

    // The payload shown at `frame`: the nearest one at or before it; null before the first.
    [[nodiscard]] const std::pair<const uint16_t, std::vector<uint8_t>>* frameAt(uint16_t frame) const
    {
        auto it = frames.upper_bound(frame);
        if (it == frames.begin())
            return nullptr;
        return &*std::prev(it);
    }
};

} // namespace flash
