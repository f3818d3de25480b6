// Reading the small records every tag uses: rectangles, matrices, colours,
// colour transforms.
#pragma once

#include "flash/io/ByteReader.h"
#include "flash/model/Geometry.h"

namespace flash {

[[nodiscard]] Rect readRect(ByteReader& r);
[[nodiscard]] Matrix readMatrix(ByteReader& r);
[[nodiscard]] Rgba readRgb(ByteReader& r);
[[nodiscard]] Rgba readRgba(ByteReader& r);
// Colour record of a shape or text version: RGBA from `alphaFromVersion` on.
[[nodiscard]] inline Rgba readColor(ByteReader& r, bool withAlpha) { return withAlpha ? readRgba(r) : readRgb(r); }
// Colour transform, with alpha terms (PlaceObject2 on) or without.
[[nodiscard]] ColorTransform readColorTransform(ByteReader& r, bool withAlpha);

} // namespace flash
