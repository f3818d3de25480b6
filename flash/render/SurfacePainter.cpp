// The pixels are borrowed for the paint: the surface outlives it, as the stage holds it.
#include "flash/render/SurfacePainter.h"

#include "flash/render/ImageColorTransform.h"
#include "flash/render/QtConversions.h"

#include <QPainter>

namespace flash {

namespace {

// Auto snaps only pixels shown one for one, neither scaled (within a
// thousandth) nor turned: snapping anything else would shift it visibly.
bool snapsToPixels(PixelSnapping snapping, const Matrix& toView)
{
    if (snapping != PixelSnapping::Auto)
        return snapping == PixelSnapping::Always;
    return toView.b == 0 && toView.c == 0 && std::abs(toView.a - 1) < 1e-3 && std::abs(toView.d - 1) < 1e-3;
}

} // namespace

void paintSurface(const PaintContext& context, const BitmapSurface& surface, const Placement& placement)
{
    if (surface.isEmpty() || surface.pixels.size() < size_t(surface.width) * size_t(surface.height))
        return;
    QImage image(reinterpret_cast<const uchar*>(surface.pixels.data()), surface.width, surface.height,
                 QImage::Format_ARGB32_Premultiplied);
    if (!placement.transform.isIdentity())
        image = colorTransformed(image, placement.transform);
    QPainter& painter = context.painter;
    Matrix toView = placement.toView.multiplied(scaling(kTwipsPerPixel, kTwipsPerPixel));
    if (snapsToPixels(placement.surfaceSnapping, toView)) {
        toView.tx = std::round(toView.tx);
        toView.ty = std::round(toView.ty);
    }
    painter.setTransform(toQTransform(toView));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, placement.surfaceSmoothing && context.highQuality);
    painter.drawImage(QPointF(0, 0), image);
}

} // namespace flash
