// Surfaces are seen by Qt as premultiplied ARGB32 images over their own pixels,
// which is how they are laid out; what is drawn from is always a copy, so a
// surface may be drawn into itself.
#include "flash/scripting/bitmap/SurfaceImaging.h"

#include "flash/render/ImageColorTransform.h"
#include "flash/render/LayerCompositor.h"
#include "flash/render/filters/FilterChain.h"
#include "flash/scripting/bitmap/PixelValues.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>

namespace flash {
namespace {

QImage imageOver(BitmapSurface& surface)
{
    return QImage(reinterpret_cast<uchar*>(surface.pixels.data()), surface.width, surface.height,
                  QImage::Format_ARGB32_Premultiplied);
}

QImage copyOf(const BitmapSurface& surface, const PixelRect& area)
{
    QImage image(area.width, area.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    for (int y = 0; y < area.height; ++y)
        std::copy_n(surface.row(area.y + y) + area.x, area.width, reinterpret_cast<uint32_t*>(image.scanLine(y)));
    return image;
}

// Pixels an opaque surface was given keep their colour and lose their transparency.
void keepOpaque(BitmapSurface& surface)
{
    if (surface.transparent)
        return;
    for (uint32_t& pixel : surface.pixels)
        pixel = convertedPixel(surface, pixel);
}

void drawImage(QPainter& painter, const QImage& picture, const QTransform& transform, bool smoothing)
{
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smoothing);
    painter.setTransform(transform);
    painter.drawImage(QPointF(0, 0), picture);
}

} // namespace

void drawSurface(BitmapSurface& target, const BitmapSurface& source, const Matrix& matrix,
                 const ColorTransform& transform, BlendMode blend, const std::optional<PixelRect>& clip, bool smoothing)
{
    if (target.isEmpty() || source.isEmpty())
        return;
    const QImage picture = colorTransformed(copyOf(source, boundsOf(source)), transform);
    if (picture.isNull())
        return;
    const QTransform toTarget(matrix.a, matrix.b, matrix.c, matrix.d, matrix.tx, matrix.ty);
    QImage canvas = imageOver(target);
    {
        QPainter painter(&canvas);
        if (clip)
            painter.setClipRect(QRect(clip->x, clip->y, clip->width, clip->height));
        if (blend == BlendMode::Normal || blend == BlendMode::Layer) {
            drawImage(painter, picture, toTarget, smoothing);
        } else {
            // Other modes blend a layer of the target's size holding the transformed picture.
            QImage layer(canvas.size(), QImage::Format_ARGB32_Premultiplied);
            if (layer.isNull())
                return;
            layer.fill(Qt::transparent);
            {
                QPainter layerPainter(&layer);
                drawImage(layerPainter, picture, toTarget, smoothing);
            }
            compositeLayer(painter, layer, QPoint(0, 0), blend, 1.0, true);
        }
    }
    keepOpaque(target);
    target.changed();
}

bool applyFilter(BitmapSurface& target, const BitmapSurface& source, const PixelRect& sourceRect, PixelPoint destPoint,
                 const TypedFilter& filter)
{
    const PixelRect read = intersected(sourceRect, boundsOf(source));
    if (read.isEmpty() || target.isEmpty())
        return false;
    FilterCanvas canvas{copyOf(source, read),
                        QPoint(destPoint.x + (read.x - sourceRect.x), destPoint.y + (read.y - sourceRect.y))};
    if (canvas.image.isNull())
        return false;
    const QRect visible(0, 0, target.width, target.height);
    applyFilters(canvas, std::span(&filter, 1), FilterScale{}, visible);
    const QRect written = canvas.rect().intersected(visible);
    for (int y = written.top(); y <= written.bottom(); ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(canvas.image.constScanLine(y - canvas.origin.y())) +
                           (written.left() - canvas.origin.x());
        uint32_t* to = target.row(y) + written.left();
        for (int x = 0; x < written.width(); ++x)
            to[x] = convertedPixel(target, from[x]);
    }
    target.changed();
    return true;
}

PixelRect filterRect(const PixelRect& sourceRect, const TypedFilter& filter)
{
    const FilterMargins m = filterMargins(std::span(&filter, 1), FilterScale{});
    return {sourceRect.x - m.left, sourceRect.y - m.top, sourceRect.width + m.left + m.right,
            sourceRect.height + m.top + m.bottom};
}

} // namespace flash
