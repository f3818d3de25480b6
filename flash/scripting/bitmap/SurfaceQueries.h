// Questions about a surface's pixels that change nothing: where a colour is,
// whether opaque enough pixels meet a point, an area or another surface, and
// how two surfaces differ.
#pragma once

#include "flash/scripting/bitmap/PixelArea.h"
#include "flash/model/BitmapSurface.h"

#include <cstdint>
#include <memory>

namespace flash {

// The smallest rectangle holding every pixel whose straight colour, masked, is
// `color` (or, without `findColor`, is not); empty when there is none.
[[nodiscard]] PixelRect colorBounds(const BitmapSurface& surface, uint32_t mask, uint32_t color, bool findColor);

// A surface placed with its top-left corner at `position`, whose pixels count
// where their alpha reaches `alphaThreshold`.
struct HitSurface {
    const BitmapSurface& surface;
    PixelPoint position;
    double alphaThreshold = 0;
};

[[nodiscard]] bool hitsArea(const HitSurface& first, const PixelRect& area);
[[nodiscard]] bool hitsSurface(const HitSurface& first, const HitSurface& second);

// Pixel by pixel differences of two surfaces of one size: 0xFF and the
// channel differences where the colours differ, else the alpha difference
// over white; null when the surfaces are the same (or differ in size).
[[nodiscard]] std::shared_ptr<BitmapSurface> difference(const BitmapSurface& a, const BitmapSurface& b);

} // namespace flash
