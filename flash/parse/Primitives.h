// Reading the small records every tag uses: rectangles, matrices, colours,
// colour transforms.
#pragma once

#include "flash/io/ByteReader.h"
#include "flash/model/DisplayTags.h"
#include "flash/model/Geometry.h"

#include <span>
#include <vector>

namespace flash {

[[nodiscard]] Rect readRect(ByteReader& r);
[[nodiscard]] Matrix readMatrix(ByteReader& r);
[[nodiscard]] Rgba readRgb(ByteReader& r);
[[nodiscard]] Rgba readRgba(ByteReader& r);
// Colour record of a shape or text version: RGBA from `alphaFromVersion` on.
[[nodiscard]] inline Rgba readColor(ByteReader& r, bool withAlpha) { return withAlpha ? readRgba(r) : readRgb(r); }
// Colour transform, with alpha terms (PlaceObject2 on) or without.
[[nodiscard]] ColorTransform readColorTransform(ByteReader& r, bool withAlpha);
// Blend mode byte; 0, 1 and values we do not know all draw as normal.
[[nodiscard]] inline BlendMode blendModeFromByte(uint8_t stored)
{
    return (stored >= 2 && stored <= 14) ? BlendMode(stored) : BlendMode::Normal;
}
// File bytes the model keeps (actions, encoded images, sound data).
[[nodiscard]] inline std::vector<uint8_t> copyBytes(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

} // namespace flash
