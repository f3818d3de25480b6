// Where filters draw in device pixels: filter sizes scaled from the object's
// pixels, how far each filter spreads a picture, and the picture grown to hold it.
#pragma once

#include "flash/render/filters/BoxBlur.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace flash {

// Device pixels per pixel of the filtered object, along each axis: filters
// are sized in the object's pixels and drawn at its scale.
struct FilterScale {
    double x = 1, y = 1;
};

// A filter's blur in device pixels, its settings clamped to their ranges.
[[nodiscard]] BlurSize deviceBlur(double blurX, double blurY, int quality, FilterScale scale);

// The shift of a shadow `distance` pixels away at `angle` degrees, in whole
// device pixels.
[[nodiscard]] QPoint deviceOffset(double distance, double angle, FilterScale scale);

// How many pixels a filter adds on each side of the picture.
struct FilterMargins {
    int left = 0, top = 0, right = 0, bottom = 0;

    FilterMargins& operator+=(const FilterMargins& other);
    [[nodiscard]] QRect grown(const QRect& rect) const { return rect.adjusted(-left, -top, right, bottom); }
    friend bool operator==(const FilterMargins&, const FilterMargins&) = default;
};

// What a blur adds: its extent along each axis, on both sides.
[[nodiscard]] FilterMargins blurMargins(const BlurSize& blur);

// A premultiplied ARGB32 picture whose top-left pixel is at `origin` in device pixels.
struct FilterCanvas {
    QImage image;
    QPoint origin;

    [[nodiscard]] QRect rect() const { return {origin, image.size()}; }
};

// Grows the canvas by `margins` with transparent pixels. When `visible` is not
// null, the canvas grows no further than `visible` (it is never cut below its
// present size). A canvas that would exceed the pixel cap, or whose memory
// cannot be had, keeps its size.
void growCanvas(FilterCanvas& canvas, const FilterMargins& margins, const QRect& visible);

} // namespace flash
