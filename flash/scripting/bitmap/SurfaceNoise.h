// Random pictures from a seed: the same seed gives the same pixels every time.
#pragma once

#include "flash/model/Geometry.h"
#include "flash/model/BitmapSurface.h"

#include <cstdint>
#include <span>

namespace flash {

// Every pixel gets values in low..high for the channels named by `channels`
// (ChannelBit flags); unnamed colour channels are 0 and an unnamed alpha is
// opaque. In grey scale red, green and blue share one value.
void noise(BitmapSurface& surface, int32_t seed, int low, int high, unsigned channels, bool grayScale);

struct PerlinSettings {
    double baseX = 1, baseY = 1; // the size in pixels of the coarsest octave's features
    int octaves = 1;
    int32_t seed = 0;
    bool stitch = false;      // tiles seamlessly
    bool fractal = true;      // false: turbulence, the sum of the noise's magnitudes
    unsigned channels = 7;    // ChannelBit flags
    bool grayScale = false;
    std::span<const Point> offsets; // per octave, in pixels
};

// More octaves than this add less than a colour level, as each weighs half the one before.
inline constexpr int kMaxPerlinOctaves = 10;

void perlinNoise(BitmapSurface& surface, const PerlinSettings& settings);

} // namespace flash
