// Decoded sound as the mixer takes it: 16-bit stereo, interleaved, at 44.1 kHz.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace flash::media {

inline constexpr int kMixRate = 44100;

struct Pcm {
    std::vector<int16_t> samples; // left, right, left, right, ...

    [[nodiscard]] size_t frames() const { return samples.size() / 2; }
    [[nodiscard]] bool isEmpty() const { return samples.empty(); }
};

} // namespace flash::media
