#include "flash/scripting/bitmap/SurfacePixels.h"

#include "flash/scripting/bitmap/PixelValues.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <vector>

namespace flash {

std::shared_ptr<BitmapSurface> makeSurface(int width, int height, bool transparent, uint32_t fill)
{
    if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide ||
        int64_t(width) * height > kMaxSurfacePixels)
        return nullptr;
    try {
        auto surface = std::make_shared<BitmapSurface>();
        surface->width = width;
        surface->height = height;
        surface->transparent = transparent;
        surface->pixels.assign(size_t(width) * size_t(height), storedColor(*surface, fill));
        return surface;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::shared_ptr<BitmapSurface> copySurface(const BitmapSurface& surface)
{
    try {
        auto copy = std::make_shared<BitmapSurface>();
        copy->width = surface.width;
        copy->height = surface.height;
        copy->transparent = surface.transparent;
        copy->pixels = surface.pixels;
        return copy;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void releaseSurface(BitmapSurface& surface)
{
    std::vector<uint32_t>().swap(surface.pixels);
    surface.width = 0;
    surface.height = 0;
    surface.changed();
}

std::optional<uint32_t> pixelAt(const BitmapSurface& surface, int x, int y)
{
    if (!boundsOf(surface).contains(x, y))
        return std::nullopt;
    return unpremultiply(surface.row(y)[x]);
}

void setPixel32(BitmapSurface& surface, int x, int y, uint32_t argb)
{
    if (!boundsOf(surface).contains(x, y))
        return;
    surface.row(y)[x] = storedColor(surface, argb);
    surface.changed();
}

void setPixel(BitmapSurface& surface, int x, int y, uint32_t rgb)
{
    if (!boundsOf(surface).contains(x, y))
        return;
    uint32_t& pixel = surface.row(y)[x];
    pixel = storedColor(surface, (pixel & 0xFF000000u) | (rgb & 0xFFFFFFu));
    surface.changed();
}

void fillRect(BitmapSurface& surface, const PixelRect& rect, uint32_t argb)
{
    const PixelRect area = intersected(rect, boundsOf(surface));
    if (area.isEmpty())
        return;
    const uint32_t stored = storedColor(surface, argb);
    for (int y = area.y; y < area.bottom(); ++y)
        std::fill_n(surface.row(y) + area.x, area.width, stored);
    surface.changed();
}

// Scanline filling with a stack of its own: each run is filled whole, and the
// runs that touch it above and below are queued, so no pixel is visited more
// than a few times however the area winds.
void floodFill(BitmapSurface& surface, int x, int y, uint32_t argb)
{
    if (!boundsOf(surface).contains(x, y))
        return;
    const uint32_t replaced = surface.row(y)[x], fill = storedColor(surface, argb);
    if (replaced == fill)
        return;
    std::vector<PixelPoint> pending{{x, y}};
    while (!pending.empty()) {
        const PixelPoint seed = pending.back();
        pending.pop_back();
        uint32_t* row = surface.row(seed.y);
        if (row[seed.x] != replaced)
            continue;
        int left = seed.x, right = seed.x;
        while (left > 0 && row[left - 1] == replaced)
            --left;
        while (right + 1 < surface.width && row[right + 1] == replaced)
            ++right;
        std::fill(row + left, row + right + 1, fill);
        for (const int next : {seed.y - 1, seed.y + 1}) {
            if (next < 0 || next >= surface.height)
                continue;
            const uint32_t* line = surface.row(next);
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool matches = line[i] == replaced;
                if (matches && !inRun)
                    pending.push_back({i, next});
                inRun = matches;
            }
        }
    }
    surface.changed();
}

void scroll(BitmapSurface& surface, int dx, int dy)
{
    const PixelRect bounds = boundsOf(surface);
    const CopyArea area = copyArea(bounds, {dx, dy}, bounds, bounds);
    if (area.isEmpty())
        return;
    // Rows are taken in the order that reads each before it is overwritten; memmove copes within a row.
    for (int i = 0; i < area.height; ++i) {
        const int row = dy > 0 ? area.height - 1 - i : i;
        std::memmove(surface.row(area.to.y + row) + area.to.x, surface.row(area.from.y + row) + area.from.x,
                     size_t(area.width) * sizeof(uint32_t));
    }
    surface.changed();
}

void colorTransform(BitmapSurface& surface, const PixelRect& rect, const ColorTransform& transform)
{
    const PixelRect area = intersected(rect, boundsOf(surface));
    if (area.isEmpty())
        return;
    // Each channel depends on itself alone: one table per channel, from the transform's own arithmetic.
    std::array<std::array<uint8_t, 256>, 4> tables; // a, r, g, b
    for (unsigned v = 0; v < 256; ++v) {
        const Rgba out = transform.apply(Rgba{uint8_t(v), uint8_t(v), uint8_t(v), uint8_t(v)});
        tables[0][v] = out.a;
        tables[1][v] = out.r;
        tables[2][v] = out.g;
        tables[3][v] = out.b;
    }
    for (int y = area.y; y < area.bottom(); ++y) {
        uint32_t* row = surface.row(y);
        for (int x = area.x; x < area.right(); ++x) {
            const uint32_t c = unpremultiply(row[x]);
            const uint32_t a = tables[0][c >> 24], r = tables[1][(c >> 16) & 0xFF];
            const uint32_t g = tables[2][(c >> 8) & 0xFF], b = tables[3][c & 0xFF];
            row[x] = storedColor(surface, a << 24 | r << 16 | g << 8 | b);
        }
    }
    surface.changed();
}

} // namespace flash
