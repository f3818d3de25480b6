// Between the straight ARGB values scripts see (0xAARRGGBB) and the
// premultiplied pixels a surface holds. Both ways round to nearest, so a
// channel at full intensity survives any alpha while fainter ones lose
// precision as the alpha falls, and an alpha of 0 keeps no colour at all.
#pragma once

#include "flash/model/BitmapSurface.h"

#include <cstdint>

namespace flash {

// Channel bits as scripts name them (BitmapDataChannel).
enum ChannelBit : unsigned { kRedChannel = 1, kGreenChannel = 2, kBlueChannel = 4, kAlphaChannel = 8 };

[[nodiscard]] constexpr unsigned alphaOf(uint32_t pixel) { return pixel >> 24; }

// The byte of `argb` a channel bit stands for (`bit` has exactly one channel).
[[nodiscard]] constexpr unsigned channelShift(unsigned bit)
{
    return bit == kAlphaChannel ? 24 : bit == kRedChannel ? 16 : bit == kGreenChannel ? 8 : 0;
}

[[nodiscard]] constexpr uint32_t premultiply(uint32_t argb)
{
    const uint32_t a = argb >> 24;
    if (a == 255)
        return argb;
    // c * a / 255 is never exactly halfway, so adding 127 rounds to nearest.
    auto channel = [a](uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | channel((argb >> 16) & 0xFF) << 16 | channel((argb >> 8) & 0xFF) << 8 | channel(argb & 0xFF);
}

[[nodiscard]] constexpr uint32_t unpremultiply(uint32_t pixel)
{
    const uint32_t a = pixel >> 24;
    if (a == 255)
        return pixel;
    if (a == 0)
        return 0;
    auto channel = [a](uint32_t c) {
        const uint32_t straight = (c * 255 + a / 2) / a;
        return straight > 255 ? 255u : straight;
    };
    return a << 24 | channel((pixel >> 16) & 0xFF) << 16 | channel((pixel >> 8) & 0xFF) << 8 | channel(pixel & 0xFF);
}

// `argb` as `surface` stores it: premultiplied, or made opaque on a surface without transparency.
[[nodiscard]] constexpr uint32_t storedColor(const BitmapSurface& surface, uint32_t argb)
{
    return surface.transparent ? premultiply(argb) : argb | 0xFF000000u;
}

// A pixel of another surface as `target` stores it: copied as it is, except that
// an opaque target keeps the colour and drops the transparency.
[[nodiscard]] constexpr uint32_t convertedPixel(const BitmapSurface& target, uint32_t pixel)
{
    return target.transparent ? pixel : unpremultiply(pixel) | 0xFF000000u;
}

} // namespace flash
