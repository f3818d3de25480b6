// The colours of drop shadows, glows and bevels as palettes of premultiplied
// pixels, so plain and gradient kinds colour their pixels the same way.
#pragma once

#include "flash/model/Filters.h"

#include <QRgb>
#include <span>
#include <vector>

namespace flash {

// Glows: 256 entries, indexed by how much of the glow covers a pixel.
[[nodiscard]] std::vector<QRgb> glowPalette(Rgba color);
[[nodiscard]] std::vector<QRgb> gradientGlowPalette(std::span<const GradientStop> stops);

// Bevels: 511 entries, indexed by shadow minus highlight plus 255: full
// highlight first, nothing in the middle, full shadow last.
inline constexpr int kBevelPaletteSize = 511;
[[nodiscard]] std::vector<QRgb> bevelPalette(Rgba highlight, Rgba shadow);
[[nodiscard]] std::vector<QRgb> gradientBevelPalette(std::span<const GradientStop> stops);

} // namespace flash
