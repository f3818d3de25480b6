#include "flash/render/filters/FilterChain.h"

#include "flash/render/filters/BoxBlur.h"
#include "flash/render/filters/ColorMatrixFilter.h"
#include "flash/render/filters/ConvolutionFilter.h"
#include "flash/render/filters/ShadowFilters.h"
#include "flash/render/VectorState.h"

#include <algorithm>
#include <cstdint>
#include <variant>

namespace flash {
namespace {

struct MarginsOf {
    FilterScale scale;

    FilterMargins operator()(const BlurFilter& f) const
    {
        return blurMargins(deviceBlur(f.blurX, f.blurY, f.quality, scale));
    }
    // Colour matrices and convolutions change pixels where they are.
    FilterMargins operator()(const ColorMatrixFilter&) const { return {}; }
    FilterMargins operator()(const ConvolutionFilter&) const { return {}; }
    template <typename Shadow>
    FilterMargins operator()(const Shadow& f) const
    {
        return shadowMargins(shadowShape(f, scale));
    }
};

struct Apply {
    QImage& image;
    FilterScale scale;

    void operator()(const BlurFilter& f) const { boxBlur(image, deviceBlur(f.blurX, f.blurY, f.quality, scale)); }
    void operator()(const ColorMatrixFilter& f) const { applyColorMatrix(image, f); }
    void operator()(const ConvolutionFilter& f) const { applyConvolution(image, f); }
    template <typename Shadow>
    void operator()(const Shadow& f) const
    {
        applyShadow(image, shadowEffect(f, scale));
    }
};

} // namespace

FilterMargins filterMargins(std::span<const TypedFilter> filters, FilterScale scale)
{
    FilterMargins total;
    for (const TypedFilter& filter : filters)
        total += std::visit(MarginsOf{scale}, filter);
    return total;
}

Rect grownBounds(std::span<const TypedFilter> filters, const Rect& bounds)
{
    if (bounds.isEmpty())
        return bounds;
    const FilterMargins m = filterMargins(filters, {});
    // Hostile bounds near the ends of the range stay in it.
    auto moved = [](int32_t edge, int pixels) {
        const double value = edge + pixels * kTwipsPerPixel;
        return int32_t(std::clamp<double>(value, INT32_MIN, INT32_MAX));
    };
    return {moved(bounds.xMin, -m.left), moved(bounds.xMax, m.right), moved(bounds.yMin, -m.top),
            moved(bounds.yMax, m.bottom)};
}

void applyFilters(FilterCanvas& canvas, std::span<const TypedFilter> filters, FilterScale scale,
                  const QRect& visible)
{
    if (canvas.image.isNull() || filters.empty())
        return;
    if (canvas.image.format() != QImage::Format_ARGB32_Premultiplied)
        canvas.image.convertTo(QImage::Format_ARGB32_Premultiplied);
    for (const TypedFilter& filter : filters) {
        growCanvas(canvas, std::visit(MarginsOf{scale}, filter), visible);
        clearUpperVectorState(); // growing draws with Qt
        std::visit(Apply{canvas.image, scale}, filter);
    }
}

} // namespace flash
