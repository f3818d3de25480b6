#include "flash/render/filters/FilterPalette.h"

#include "flash/render/filters/PremultipliedPixel.h"

#include <algorithm>

namespace flash {
namespace {

// 256 colours interpolated between the stops by ratio, unpremultiplied, and
// the end colours held beyond the first and last stop. No stops: transparent.
std::vector<QRgb> gradientRamp(std::span<const GradientStop> stops)
{
    std::vector<QRgb> ramp(256, 0);
    if (stops.empty())
        return ramp;
    std::vector<GradientStop> sorted(stops.begin(), stops.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const GradientStop& a, const GradientStop& b) { return a.ratio < b.ratio; });
    size_t next = 0; // first stop whose ratio is above the index
    for (int i = 0; i < 256; ++i) {
        while (next < sorted.size() && sorted[next].ratio <= i)
            ++next;
        Rgba c;
        if (next == 0) {
            c = sorted.front().color;
        } else if (next == sorted.size()) {
            c = sorted.back().color;
        } else {
            const GradientStop& a = sorted[next - 1];
            const GradientStop& b = sorted[next];
            const int span = b.ratio - a.ratio; // positive: b's ratio is above i, a's is not
            const int t = i - a.ratio;
            auto mix = [&](uint8_t from, uint8_t to) { return uint8_t((from * (span - t) + to * t + span / 2) / span); };
            c = {mix(a.color.r, b.color.r), mix(a.color.g, b.color.g), mix(a.color.b, b.color.b),
                 mix(a.color.a, b.color.a)};
        }
        ramp[i] = premultipliedColor(c, 255);
    }
    return ramp;
}

} // namespace

std::vector<QRgb> glowPalette(Rgba color)
{
    std::vector<QRgb> palette(256);
    for (uint32_t i = 0; i < 256; ++i)
        palette[i] = premultipliedColor(color, i);
    return palette;
}

std::vector<QRgb> gradientGlowPalette(std::span<const GradientStop> stops)
{
    return gradientRamp(stops);
}

std::vector<QRgb> bevelPalette(Rgba highlight, Rgba shadow)
{
    std::vector<QRgb> palette(kBevelPaletteSize);
    for (int i = 0; i < kBevelPaletteSize; ++i)
        palette[i] = i < 255 ? premultipliedColor(highlight, uint32_t(255 - i))
                             : premultipliedColor(shadow, uint32_t(i - 255));
    return palette;
}

std::vector<QRgb> gradientBevelPalette(std::span<const GradientStop> stops)
{
    const std::vector<QRgb> ramp = gradientRamp(stops);
    std::vector<QRgb> palette(kBevelPaletteSize);
    for (int i = 0; i < kBevelPaletteSize; ++i)
        palette[i] = ramp[(i + 1) / 2];
    return palette;
}

} // namespace flash
