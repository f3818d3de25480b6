#include "flash/render/filters/ShadowFilters.h"

#include "flash/render/filters/FilterLimits.h"
#include "flash/render/filters/FilterPalette.h"
#include "flash/render/filters/PremultipliedPixel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdlib>

namespace flash {
namespace {

BevelType innerOrOuter(bool inner) { return inner ? BevelType::Inner : BevelType::Outer; }

template <typename F>
ShadowEffect effectOf(const F& filter, FilterScale scale, std::vector<QRgb> palette)
{
    ShadowEffect effect;
    effect.shape = shadowShape(filter, scale);
    effect.strength = limits::clampedFinite(filter.strength, 0, limits::kMaxStrength);
    effect.knockout = filter.knockout;
    effect.compositeSource = filter.compositeSource;
    effect.palette = std::move(palette);
    return effect;
}

// The alpha channel of an image, one byte a pixel.
struct AlphaMask {
    int width = 0, height = 0;
    std::vector<uint8_t> values;

    explicit AlphaMask(const QImage& image) : width(image.width()), height(image.height())
    {
        values.resize(size_t(width) * height);
        for (int y = 0; y < height; ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            uint8_t* out = row(y);
            for (int x = 0; x < width; ++x)
                out[x] = uint8_t(qAlpha(in[x]));
        }
    }
    uint8_t* row(int y) { return values.data() + size_t(y) * width; }
    const uint8_t* row(int y) const { return values.data() + size_t(y) * width; }

    // Row y of the mask moved by `offset`; pixels moved in from beyond it are 0.
    void shiftedRow(QPoint offset, int y, uint8_t* out) const
    {
        std::memset(out, 0, size_t(width));
        const int from = y - offset.y();
        if (from < 0 || from >= height)
            return;
        const int first = std::clamp(offset.x(), 0, width);
        const int last = std::clamp(width + offset.x(), 0, width);
        if (first < last)
            std::memcpy(out + first, row(from) + (first - offset.x()), size_t(last - first));
    }
};

// Palette entry for each value a pixel can take: the blurred alpha under a
// glow (0..255), or shadow minus highlight plus 255 under a bevel, scaled by
// the strength. Inner glows count from the far side: the alpha outside the object.
std::vector<QRgb> strengthTable(const ShadowEffect& effect)
{
    std::vector<QRgb> table(effect.palette.size(), 0);
    if (effect.shape.isBevel) {
        for (int i = 0; i < int(table.size()); ++i) {
            const double value = std::clamp(std::round((i - 255) * effect.strength), -255.0, 255.0);
            table[i] = effect.palette[size_t(value + 255)];
        }
        return table;
    }
    const bool inner = effect.shape.placement == BevelType::Inner;
    for (int i = 0; i < int(table.size()); ++i) {
        const double value = std::min(255.0, std::round((inner ? 255 - i : i) * effect.strength));
        table[i] = effect.palette[size_t(value)];
    }
    return table;
}

// One pixel of the result from the effect `e` and the object's pixel `o`.
QRgb composite(QRgb e, QRgb o, const ShadowEffect& effect)
{
    const bool objectShown = effect.compositeSource && !effect.knockout;
    switch (effect.shape.placement) {
    case BevelType::Inner:
        e = scaledPixel(e, qAlpha(o));
        return objectShown ? over(e, o) : e;
    case BevelType::Outer:
        if (effect.knockout)
            return scaledPixel(e, 255 - qAlpha(o));
        return effect.compositeSource ? over(o, e) : e;
    case BevelType::Full:
        return objectShown ? over(e, o) : e;
    }
    return o;
}

} // namespace

ShadowShape shadowShape(const DropShadowFilter& filter, FilterScale scale)
{
    return {deviceBlur(filter.blurX, filter.blurY, filter.quality, scale),
            deviceOffset(filter.distance, filter.angle, scale), false, innerOrOuter(filter.inner)};
}

ShadowShape shadowShape(const GlowFilter& filter, FilterScale scale)
{
    return {deviceBlur(filter.blurX, filter.blurY, filter.quality, scale), {}, false, innerOrOuter(filter.inner)};
}

ShadowShape shadowShape(const BevelFilter& filter, FilterScale scale)
{
    return {deviceBlur(filter.blurX, filter.blurY, filter.quality, scale),
            deviceOffset(filter.distance, filter.angle, scale), true, filter.type};
}

ShadowShape shadowShape(const GradientGlowFilter& filter, FilterScale scale)
{
    return {deviceBlur(filter.blurX, filter.blurY, filter.quality, scale),
            deviceOffset(filter.distance, filter.angle, scale), false, filter.type};
}

ShadowShape shadowShape(const GradientBevelFilter& filter, FilterScale scale)
{
    return {deviceBlur(filter.blurX, filter.blurY, filter.quality, scale),
            deviceOffset(filter.distance, filter.angle, scale), true, filter.type};
}

ShadowEffect shadowEffect(const DropShadowFilter& filter, FilterScale scale)
{
    return effectOf(filter, scale, glowPalette(filter.color));
}

ShadowEffect shadowEffect(const GlowFilter& filter, FilterScale scale)
{
    return effectOf(filter, scale, glowPalette(filter.color));
}

ShadowEffect shadowEffect(const BevelFilter& filter, FilterScale scale)
{
    return effectOf(filter, scale, bevelPalette(filter.highlightColor, filter.shadowColor));
}

ShadowEffect shadowEffect(const GradientGlowFilter& filter, FilterScale scale)
{
    return effectOf(filter, scale, gradientGlowPalette(filter.stops));
}

ShadowEffect shadowEffect(const GradientBevelFilter& filter, FilterScale scale)
{
    return effectOf(filter, scale, gradientBevelPalette(filter.stops));
}

FilterMargins shadowMargins(const ShadowShape& shape)
{
    if (shape.placement == BevelType::Inner)
        return {};
    const FilterMargins blur = blurMargins(shape.blur);
    const int dx = shape.offset.x(), dy = shape.offset.y();
    if (shape.isBevel)
        return {blur.left + std::abs(dx), blur.top + std::abs(dy), blur.right + std::abs(dx),
                blur.bottom + std::abs(dy)};
    return {std::max(0, blur.left - dx), std::max(0, blur.top - dy), std::max(0, blur.right + dx),
            std::max(0, blur.bottom + dy)};
}

void applyShadow(QImage& image, const ShadowEffect& effect)
{
    const size_t expected = effect.shape.isBevel ? kBevelPaletteSize : 256;
    if (image.format() != QImage::Format_ARGB32_Premultiplied || image.isNull() || effect.palette.size() != expected)
        return;
    AlphaMask blurred(image);
    boxBlur(PixelPlane{blurred.values.data(), blurred.width, blurred.height, 1, blurred.width}, effect.shape.blur);
    const std::vector<QRgb> table = strengthTable(effect);
    const QPoint offset = effect.shape.offset;
    std::vector<uint8_t> near(size_t(image.width())), far(size_t(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        // Under a glow: the alpha from `offset` back; under a bevel, the same
        // (its shadow) against the alpha from `offset` ahead (its highlight).
        blurred.shiftedRow(offset, y, near.data());
        if (effect.shape.isBevel)
            blurred.shiftedRow(-offset, y, far.data());
        auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int index = effect.shape.isBevel ? near[x] - far[x] + 255 : near[x];
            pixels[x] = composite(table[size_t(index)], pixels[x], effect);
        }
    }
}

} // namespace flash
