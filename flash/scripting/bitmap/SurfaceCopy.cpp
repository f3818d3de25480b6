#include "flash/scripting/bitmap/SurfaceCopy.h"

#include "flash/scripting/bitmap/PixelValues.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace flash {
namespace {

CopyArea areaOf(const BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect,
                PixelPoint destPoint)
{
    return copyArea(sourceRect, destPoint, boundsOf(source), boundsOf(target));
}

// Runs `combine(targetPixel&, sourcePixel, column, row)` over the area. When
// source and target are one surface the area is read whole first, so that no
// pixel is read after it was written.
template<typename Combine>
void combineArea(BitmapSurface& target, const BitmapSurface& source, const CopyArea& area, Combine&& combine)
{
    if (area.isEmpty())
        return;
    const bool sameSurface = &target == &source;
    std::vector<uint32_t> snapshot;
    if (sameSurface) {
        snapshot.resize(size_t(area.width) * size_t(area.height));
        for (int j = 0; j < area.height; ++j) {
            const uint32_t* row = source.row(area.from.y + j) + area.from.x;
            std::copy_n(row, area.width, snapshot.data() + size_t(j) * area.width);
        }
    }
    for (int j = 0; j < area.height; ++j) {
        const uint32_t* from = sameSurface ? snapshot.data() + size_t(j) * area.width
                                           : source.row(area.from.y + j) + area.from.x;
        uint32_t* to = target.row(area.to.y + j) + area.to.x;
        for (int i = 0; i < area.width; ++i)
            combine(to[i], from[i], i, j);
    }
    target.changed();
}

// All four channels of a premultiplied pixel times `factor` / 255, rounded.
uint32_t scaled(uint32_t pixel, uint32_t factor)
{
    auto channel = [factor](uint32_t c) { return (c * factor + 127) / 255; };
    return channel(pixel >> 24) << 24 | channel((pixel >> 16) & 0xFF) << 16 | channel((pixel >> 8) & 0xFF) << 8 |
           channel(pixel & 0xFF);
}

// `top` drawn over `bottom`, both premultiplied.
uint32_t over(uint32_t top, uint32_t bottom)
{
    return top + scaled(bottom, 255 - alphaOf(top));
}

bool isSingleChannel(unsigned bit)
{
    return bit <= kAlphaChannel && std::has_single_bit(bit);
}

bool passes(const ThresholdTest& test, uint32_t argb)
{
    const uint32_t value = argb & test.mask, against = test.threshold & test.mask;
    switch (test.comparison) {
    case Comparison::Less: return value < against;
    case Comparison::LessOrEqual: return value <= against;
    case Comparison::Greater: return value > against;
    case Comparison::GreaterOrEqual: return value >= against;
    case Comparison::Equal: return value == against;
    case Comparison::NotEqual: return value != against;
    }
    return false;
}

} // namespace

void copyPixels(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
                const std::optional<AlphaMask>& mask, bool mergeAlpha)
{
    const CopyArea area = areaOf(target, source, sourceRect, destPoint);
    // Where the copied area's first pixel falls on the mask.
    const PixelPoint maskOrigin = mask ? PixelPoint{mask->point.x + (area.from.x - sourceRect.x),
                                                    mask->point.y + (area.from.y - sourceRect.y)}
                                       : PixelPoint{};
    const PixelRect maskBounds = mask && mask->surface ? boundsOf(*mask->surface) : PixelRect{};
    combineArea(target, source, area, [&](uint32_t& to, uint32_t from, int i, int j) {
        if (mask) {
            // Pixels beyond the mask are not copied at all.
            const int mx = maskOrigin.x + i, my = maskOrigin.y + j;
            if (!maskBounds.contains(mx, my))
                return;
            from = scaled(from, alphaOf(mask->surface->row(my)[mx]));
        }
        to = convertedPixel(target, mergeAlpha ? over(from, to) : from);
    });
}

void copyChannel(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
                 unsigned sourceChannel, unsigned destChannel)
{
    if (!isSingleChannel(sourceChannel) || !isSingleChannel(destChannel))
        return;
    const unsigned fromShift = channelShift(sourceChannel), toShift = channelShift(destChannel);
    const CopyArea area = areaOf(target, source, sourceRect, destPoint);
    combineArea(target, source, area, [&](uint32_t& to, uint32_t from, int, int) {
        const uint32_t value = (unpremultiply(from) >> fromShift) & 0xFF;
        const uint32_t straight = unpremultiply(to) & ~(0xFFu << toShift);
        to = storedColor(target, straight | value << toShift);
    });
}

uint32_t threshold(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect,
                   PixelPoint destPoint, const ThresholdTest& test, uint32_t color, bool copySource)
{
    uint32_t passed = 0;
    const uint32_t stored = storedColor(target, color);
    const CopyArea area = areaOf(target, source, sourceRect, destPoint);
    combineArea(target, source, area, [&](uint32_t& to, uint32_t from, int, int) {
        if (passes(test, unpremultiply(from))) {
            to = stored;
            ++passed;
        } else if (copySource) {
            to = convertedPixel(target, from);
        }
    });
    return passed;
}

void merge(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
           const std::array<uint32_t, 4>& multipliers)
{
    // Multipliers in pixel order: alpha, red, green, blue from the top byte down.
    const uint32_t byShift[4] = {std::min(multipliers[2], 256u), std::min(multipliers[1], 256u),
                                 std::min(multipliers[0], 256u), std::min(multipliers[3], 256u)};
    const CopyArea area = areaOf(target, source, sourceRect, destPoint);
    combineArea(target, source, area, [&](uint32_t& to, uint32_t from, int, int) {
        const uint32_t s = unpremultiply(from), d = unpremultiply(to);
        uint32_t out = 0;
        for (unsigned k = 0; k < 4; ++k) {
            const unsigned shift = 8 * k;
            const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF, m = byShift[k];
            out |= ((sc * m + dc * (256 - m)) / 256) << shift;
        }
        to = storedColor(target, out);
    });
}

Palette identityPalette()
{
    Palette palette;
    for (uint32_t v = 0; v < 256; ++v) {
        palette[0][v] = v << 16;
        palette[1][v] = v << 8;
        palette[2][v] = v;
        palette[3][v] = v << 24;
    }
    return palette;
}

void paletteMap(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
                const Palette& palette)
{
    const CopyArea area = areaOf(target, source, sourceRect, destPoint);
    combineArea(target, source, area, [&](uint32_t& to, uint32_t from, int, int) {
        const uint32_t s = unpremultiply(from);
        to = storedColor(target, palette[0][(s >> 16) & 0xFF] + palette[1][(s >> 8) & 0xFF] + palette[2][s & 0xFF] +
                                     palette[3][s >> 24]);
    });
}

// The order visits every pixel of the area once before it repeats: a full-period
// linear congruential walk over the next power of two, its values scrambled by
// a bijection of the same range so that neighbours do not fall in stripes;
// values beyond the area are skipped.
int32_t pixelDissolve(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect,
                      PixelPoint destPoint, int32_t seed, int64_t count, uint32_t fill)
{
    const CopyArea area = areaOf(target, source, sourceRect, destPoint);
    if (area.isEmpty())
        return seed;
    const uint32_t pixels = uint32_t(area.width) * uint32_t(area.height);
    const uint32_t range = std::bit_ceil(std::max(pixels, 4u)), mask = range - 1;
    const unsigned half = unsigned(std::countr_zero(range)) / 2 + 1;
    auto scramble = [&](uint32_t v) {
        v ^= v >> half;
        v = (v * 0x2C1B3C6Du) & mask;
        v ^= v >> half;
        return v;
    };
    const bool fromItself = &target == &source;
    const uint32_t stored = storedColor(target, fill);
    uint32_t state = uint32_t(seed) & mask;
    int64_t left = std::clamp<int64_t>(count, 0, pixels);
    const uint64_t bound = uint64_t(range) * 2; // every value of the range comes within one period
    for (uint64_t steps = 0; left > 0 && steps < bound; ++steps) {
        state = (state * 1103515245u + 12345u) & mask;
        const uint32_t index = scramble(state);
        if (index >= pixels)
            continue;
        const int i = int(index % uint32_t(area.width)), j = int(index / uint32_t(area.width));
        uint32_t& to = target.row(area.to.y + j)[area.to.x + i];
        to = fromItself ? stored : convertedPixel(target, source.row(area.from.y + j)[area.from.x + i]);
        --left;
    }
    target.changed();
    return int32_t(state);
}

} // namespace flash
