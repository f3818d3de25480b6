// The pixels are borrowed for the paint: the surface outlives it, as the stage holds it.
#include "flash/render/SurfacePainter.h"

#include "flash/render/ImageColorTransform.h"
#include "flash/render/QtConversions.h"

#include <QPainter>

namespace flash {

void paintSurface(const PaintContext& context, const BitmapSurface& surface, const Placement& placement)
{
    if (surface.isEmpty() || surface.pixels.size() < size_t(surface.width) * size_t(surface.height))
        return;
    QImage image(reinterpret_cast<const uchar*>(surface.pixels.data()), surface.width, surface.height,
                 QImage::Format_ARGB32_Premultiplied);
    if (!placement.transform.isIdentity())
        image = colorTransformed(image, placement.transform);
    QPainter& painter = context.painter;
    painter.setTransform(toQTransform(placement.toView.multiplied(scaling(kTwipsPerPixel, kTwipsPerPixel))));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, placement.surfaceSmoothing && context.highQuality);
    painter.drawImage(QPointF(0, 0), image);
}

} // namespace flash
