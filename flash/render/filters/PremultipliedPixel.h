// 8-bit arithmetic on premultiplied ARGB32 pixels.
#pragma once

#include "flash/model/Geometry.h"

#include <QRgb>
#include <cstdint>

namespace flash {

// a * b / 255, rounded to nearest, for a and b in 0..255.
[[nodiscard]] inline uint32_t mulDiv255(uint32_t a, uint32_t b)
{
    const uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// All four channels of `pixel` times `coverage` / 255.
[[nodiscard]] inline QRgb scaledPixel(QRgb pixel, uint32_t coverage)
{
    // Two channels at a time, each in its own 16-bit lane.
    uint32_t rb = (pixel & 0x00ff00ff) * coverage + 0x00800080;
    uint32_t ag = ((pixel >> 8) & 0x00ff00ff) * coverage + 0x00800080;
    rb = ((rb + ((rb >> 8) & 0x00ff00ff)) >> 8) & 0x00ff00ff;
    ag = (ag + ((ag >> 8) & 0x00ff00ff)) & 0xff00ff00;
    return rb | ag;
}

// `top` drawn over `bottom`.
[[nodiscard]] inline QRgb over(QRgb top, QRgb bottom)
{
    return top + scaledPixel(bottom, 255 - qAlpha(top));
}

// `color` with its alpha scaled by `coverage` / 255, premultiplied.
[[nodiscard]] inline QRgb premultipliedColor(Rgba color, uint32_t coverage)
{
    return qPremultiply(qRgba(color.r, color.g, color.b, int(mulDiv255(color.a, coverage))));
}

} // namespace flash
