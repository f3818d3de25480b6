// A BitmapData's pixels on their own: made within the runtime's size limits,
// read and written one by one or by area, filled, scrolled and recoloured.
// Colours in and out are straight ARGB; every change bumps the surface's serial.
#pragma once

#include "flash/model/Geometry.h"
#include "flash/scripting/bitmap/PixelArea.h"
#include "flash/model/BitmapSurface.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace flash {

inline constexpr int kMaxSurfaceSide = 2880;
inline constexpr int64_t kMaxSurfacePixels = 16'777'215;

// A width x height surface filled with `fill`; null when the size is outside
// the runtime's limits or the memory cannot be had.
[[nodiscard]] std::shared_ptr<BitmapSurface> makeSurface(int width, int height, bool transparent, uint32_t fill);
// A copy of `surface` with pixels of its own; null when the memory cannot be had.
[[nodiscard]] std::shared_ptr<BitmapSurface> copySurface(const BitmapSurface& surface);
// Frees the pixels where they are, so that every object showing them shows nothing.
void releaseSurface(BitmapSurface& surface);

// The straight colour at (x, y); nothing outside the surface.
[[nodiscard]] std::optional<uint32_t> pixelAt(const BitmapSurface& surface, int x, int y);
void setPixel32(BitmapSurface& surface, int x, int y, uint32_t argb);
// Sets the colour and keeps the pixel's alpha.
void setPixel(BitmapSurface& surface, int x, int y, uint32_t rgb);
void fillRect(BitmapSurface& surface, const PixelRect& rect, uint32_t argb);
// Makes the 4-connected area of pixels equal to the one at (x, y) `argb`.
void floodFill(BitmapSurface& surface, int x, int y, uint32_t argb);
// Moves the picture by (dx, dy); what it uncovers keeps its old pixels.
void scroll(BitmapSurface& surface, int dx, int dy);
// `transform` on the straight colours within `rect`.
void colorTransform(BitmapSurface& surface, const PixelRect& rect, const ColorTransform& transform);

} // namespace flash
