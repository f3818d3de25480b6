#include "flash/scripting/bitmap/SurfaceQueries.h"

#include "flash/scripting/bitmap/PixelValues.h"

#include <algorithm>

namespace flash {
namespace {

bool counts(const HitSurface& s, int x, int y)
{
    return double(alphaOf(s.surface.row(y)[x])) >= s.alphaThreshold;
}

PixelRect placedBounds(const HitSurface& s)
{
    const PixelRect bounds = boundsOf(s.surface);
    return {bounds.x + s.position.x, bounds.y + s.position.y, bounds.width, bounds.height};
}

} // namespace

PixelRect colorBounds(const BitmapSurface& surface, uint32_t mask, uint32_t color, bool findColor)
{
    int left = surface.width, top = surface.height, right = -1, bottom = -1;
    for (int y = 0; y < surface.height; ++y) {
        const uint32_t* row = surface.row(y);
        for (int x = 0; x < surface.width; ++x) {
            if (((unpremultiply(row[x]) & mask) == color) != findColor)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = y;
        }
    }
    return right < 0 ? PixelRect{} : PixelRect{left, top, right - left + 1, bottom - top + 1};
}

bool hitsArea(const HitSurface& first, const PixelRect& area)
{
    const PixelRect placed = intersected(placedBounds(first), area);
    for (int y = placed.y; y < placed.bottom(); ++y) {
        for (int x = placed.x; x < placed.right(); ++x) {
            if (counts(first, x - first.position.x, y - first.position.y))
                return true;
        }
    }
    return false;
}

bool hitsSurface(const HitSurface& first, const HitSurface& second)
{
    const PixelRect overlap = intersected(placedBounds(first), placedBounds(second));
    for (int y = overlap.y; y < overlap.bottom(); ++y) {
        for (int x = overlap.x; x < overlap.right(); ++x) {
            if (counts(first, x - first.position.x, y - first.position.y) &&
                counts(second, x - second.position.x, y - second.position.y))
                return true;
        }
    }
    return false;
}

std::shared_ptr<BitmapSurface> difference(const BitmapSurface& a, const BitmapSurface& b)
{
    if (a.isEmpty() || a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size())
        return nullptr;
    auto out = std::make_shared<BitmapSurface>();
    out->width = a.width;
    out->height = a.height;
    out->pixels.resize(a.pixels.size());
    bool differs = false;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const uint32_t p = unpremultiply(a.pixels[i]), q = unpremultiply(b.pixels[i]);
        if (p == q)
            continue;
        differs = true;
        uint32_t argb = 0;
        if ((p & 0xFFFFFF) != (q & 0xFFFFFF)) {
            argb = 0xFF000000u;
            for (const unsigned shift : {16u, 8u, 0u})
                argb |= (((p >> shift) - (q >> shift)) & 0xFF) << shift;
        } else {
            argb = ((alphaOf(p) - alphaOf(q)) & 0xFF) << 24 | 0xFFFFFF;
        }
        out->pixels[i] = premultiply(argb);
    }
    return differs ? out : nullptr;
}

} // namespace flash
