// Video frames scaled to their stream's size, smoothed when the stream or a script asks for it.
#include "flash/render/VideoPainter.h"

#include "flash/render/ImageColorTransform.h"
#include "flash/render/QtConversions.h"
#include "flash/render/RenderCache.h"

#include <QPainter>

namespace flash {

Rect videoBounds(const VideoDef& video)
{
    return Rect{0, int32_t(video.width * kTwipsPerPixel), 0, int32_t(video.height * kTwipsPerPixel)};
}

void paintVideo(const PaintContext& context, const std::shared_ptr<const VideoDef>& video, const Placement& placement)
{
    if (!video || video->width == 0 || video->height == 0)
        return;
    QImage image;
    if (placement.video && placement.video->feed) {
        // An attached stream's picture, borrowed for this paint: the feed keeps it alive.
        const VideoPicture* picture = placement.video->shownPicture();
        if (!picture || picture->isEmpty())
            return;
        image = QImage(reinterpret_cast<const uchar*>(picture->pixels.data()), picture->width, picture->height,
                       QImage::Format_ARGB32_Premultiplied);
    } else {
        image = context.cache.videoFrames().frame(video, placement.ratio);
    }
    if (image.isNull())
        return;
    if (!placement.transform.isIdentity())
        image = colorTransformed(image, placement.transform);
    const double sx = double(video->width) * kTwipsPerPixel / image.width();
    const double sy = double(video->height) * kTwipsPerPixel / image.height();
    QPainter& painter = context.painter;
    painter.setTransform(toQTransform(placement.toView.multiplied(scaling(sx, sy))));
    const bool smoothing = placement.video && placement.video->smoothing ? *placement.video->smoothing : video->smoothing;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smoothing && context.highQuality);
    painter.drawImage(QPointF(0, 0), image);
}

} // namespace flash
