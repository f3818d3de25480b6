// Operations that read an area of one surface and write it, changed, at a
// point of another (or of the same: the area is read whole before any write).
// Areas are clipped to both surfaces; straight colours are what the channel
// arithmetic works on.
#pragma once

#include "flash/scripting/bitmap/PixelArea.h"
#include "flash/model/BitmapSurface.h"

#include <array>
#include <cstdint>
#include <optional>

namespace flash {

// A surface whose alpha masks the copied pixels; `point` is where the copied
// area's top-left corner falls on it.
struct AlphaMask {
    const BitmapSurface* surface = nullptr;
    PixelPoint point;
};

// Without `mergeAlpha` the pixels replace what was there; with it they are drawn over it.
void copyPixels(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
                const std::optional<AlphaMask>& mask, bool mergeAlpha);

// One channel of the source (a single ChannelBit) into one channel of the target.
void copyChannel(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
                 unsigned sourceChannel, unsigned destChannel);

enum class Comparison : uint8_t { Less, LessOrEqual, Greater, GreaterOrEqual, Equal, NotEqual };

struct ThresholdTest {
    Comparison comparison = Comparison::Equal;
    uint32_t threshold = 0;
    uint32_t mask = 0xFFFFFFFF;
};

// Pixels whose masked colour passes the test become `color`; the others take
// the source's pixel when `copySource`, else stay. Answers how many passed.
uint32_t threshold(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect,
                   PixelPoint destPoint, const ThresholdTest& test, uint32_t color, bool copySource);

// Each channel becomes (source * m + target * (256 - m)) / 256, m per channel (red, green, blue, alpha) in 0..256.
void merge(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
           const std::array<uint32_t, 4>& multipliers);

// Four tables of 256 colours (red, green, blue, alpha): a pixel becomes the sum
// of the entries its channels pick.
using Palette = std::array<std::array<uint32_t, 256>, 4>;
// The palette that leaves every pixel as it is.
[[nodiscard]] Palette identityPalette();
void paletteMap(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
                const Palette& palette);

// Moves `count` pixels of the area, picked in a pseudo-random order that
// `seed` continues, from the source (or, when both are the same surface, sets
// them to `fill`). Answers the seed that continues where this call stopped.
int32_t pixelDissolve(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect,
                      PixelPoint destPoint, int32_t seed, int64_t count, uint32_t fill);

} // namespace flash
