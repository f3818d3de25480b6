#include "flash/scripting/bitmap/PixelArea.h"

#include <algorithm>
#include <cmath>

namespace flash {

int pixelCoordinate(double value)
{
    if (std::isnan(value))
        return 0;
    return int(std::clamp(std::trunc(value), double(-kCoordinateLimit), double(kCoordinateLimit)));
}

PixelRect intersected(const PixelRect& a, const PixelRect& b)
{
    if (a.isEmpty() || b.isEmpty())
        return {};
    const int left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    const int right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
    if (right <= left || bottom <= top)
        return {};
    return {left, top, right - left, bottom - top};
}

CopyArea copyArea(const PixelRect& sourceRect, PixelPoint destPoint, const PixelRect& sourceBounds,
                  const PixelRect& targetBounds)
{
    const PixelRect read = intersected(sourceRect, sourceBounds);
    if (read.isEmpty())
        return {};
    // The part of the rectangle cut off at the source moves its destination along.
    const PixelRect wanted{destPoint.x + (read.x - sourceRect.x), destPoint.y + (read.y - sourceRect.y), read.width,
                           read.height};
    const PixelRect written = intersected(wanted, targetBounds);
    if (written.isEmpty())
        return {};
    return {{read.x + (written.x - wanted.x), read.y + (written.y - wanted.y)},
            {written.x, written.y},
            written.width,
            written.height};
}

} // namespace flash
