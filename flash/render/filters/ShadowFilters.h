// Drop shadows, glows, bevels, gradient glows and gradient bevels share one
// path: blur the object's alpha, shift it, colour it through a palette, and
// put the result inside, outside or over the object.
#pragma once

#include "flash/model/Filters.h"
#include "flash/render/filters/FilterRegion.h"

#include <QImage>
#include <QRgb>
#include <vector>

namespace flash {

// Where the effect falls, in device pixels.
struct ShadowShape {
    BlurSize blur;
    QPoint offset;        // a glow's shift; a bevel's shadow shift (its highlight goes the other way)
    bool isBevel = false; // a bevel colours the difference of the alpha shifted both ways
    BevelType placement = BevelType::Outer;
};

struct ShadowEffect {
    ShadowShape shape;
    double strength = 1;
    bool knockout = false;
    bool compositeSource = true;
    std::vector<QRgb> palette; // see FilterPalette.h; its size follows shape.isBevel
};

[[nodiscard]] ShadowShape shadowShape(const DropShadowFilter& filter, FilterScale scale);
[[nodiscard]] ShadowShape shadowShape(const GlowFilter& filter, FilterScale scale);
[[nodiscard]] ShadowShape shadowShape(const BevelFilter& filter, FilterScale scale);
[[nodiscard]] ShadowShape shadowShape(const GradientGlowFilter& filter, FilterScale scale);
[[nodiscard]] ShadowShape shadowShape(const GradientBevelFilter& filter, FilterScale scale);

[[nodiscard]] ShadowEffect shadowEffect(const DropShadowFilter& filter, FilterScale scale);
[[nodiscard]] ShadowEffect shadowEffect(const GlowFilter& filter, FilterScale scale);
[[nodiscard]] ShadowEffect shadowEffect(const BevelFilter& filter, FilterScale scale);
[[nodiscard]] ShadowEffect shadowEffect(const GradientGlowFilter& filter, FilterScale scale);
[[nodiscard]] ShadowEffect shadowEffect(const GradientBevelFilter& filter, FilterScale scale);

// How far the effect reaches beyond the object; nothing for inner effects.
[[nodiscard]] FilterMargins shadowMargins(const ShadowShape& shape);

// Applies the effect to a premultiplied ARGB32 image; the image is not grown.
void applyShadow(QImage& image, const ShadowEffect& effect);

} // namespace flash
