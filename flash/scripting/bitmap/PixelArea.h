// Whole-pixel geometry of bitmap operations: rectangles and points as scripts
// give them, clipped against the surfaces they touch.
#pragma once

#include "flash/model/BitmapSurface.h"

namespace flash {

struct PixelPoint {
    int x = 0, y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;

    [[nodiscard]] bool isEmpty() const { return width <= 0 || height <= 0; }
    [[nodiscard]] int right() const { return x + width; }
    [[nodiscard]] int bottom() const { return y + height; }
    [[nodiscard]] bool contains(int px, int py) const { return px >= x && py >= y && px < right() && py < bottom(); }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Coordinates a script gives are kept within this, so that sums of two never overflow.
inline constexpr int kCoordinateLimit = 1 << 29;

// A script's number as a pixel coordinate: truncated toward zero (as the
// runtime converts to integers), NaN as 0, clamped to the coordinate limit.
[[nodiscard]] int pixelCoordinate(double value);

[[nodiscard]] inline PixelRect boundsOf(const BitmapSurface& surface)
{
    return surface.isEmpty() ? PixelRect{} : PixelRect{0, 0, surface.width, surface.height};
}

// The common part of two rectangles; an empty rectangle when they do not meet.
[[nodiscard]] PixelRect intersected(const PixelRect& a, const PixelRect& b);

// Where a copy of `sourceRect` to `destPoint` reads and writes, once both ends
// are clipped to their surfaces' bounds.
struct CopyArea {
    PixelPoint from, to;
    int width = 0, height = 0;

    [[nodiscard]] bool isEmpty() const { return width <= 0 || height <= 0; }
};

[[nodiscard]] CopyArea copyArea(const PixelRect& sourceRect, PixelPoint destPoint, const PixelRect& sourceBounds,
                                const PixelRect& targetBounds);

} // namespace flash
