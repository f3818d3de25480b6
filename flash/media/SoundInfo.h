// How a StartSound plays its sound: stop it, play it only if not playing, in
// and out points, loops and a volume envelope (positions in 44.1 kHz samples).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace flash::media {

struct EnvelopePoint {
    uint32_t position = 0; // in samples at 44.1 kHz from the sound's start
    uint16_t left = 32768, right = 32768; // 32768 is full volume
};

struct SoundInfo {
    bool stop = false;       // stop every instance of the sound instead
    bool noMultiple = false; // do not start it again while it plays
    std::optional<uint32_t> inPoint, outPoint;
    uint16_t loops = 1;
    std::vector<EnvelopePoint> envelope;
};

// The record as StartSound stores it; a truncated record keeps what it holds.
[[nodiscard]] SoundInfo parseSoundInfo(std::span<const uint8_t> bytes);

} // namespace flash::media
