// The stage: background, "show all" scaling and the walk of the root display list.
#include "flash/render/Renderer.h"

#include "flash/render/HitTest.h"

#include "flash/render/DisplayListPainter.h"
#include "flash/render/DrawingThread.h"
#include "flash/render/QtConversions.h"
#include "flash/render/RenderCache.h"
#include "flash/render/VectorState.h"
#include "flash/render/raster/DirectFill.h"

#include <QPainter>
#include <algorithm>

namespace flash {

Renderer::Renderer(std::shared_ptr<const Movie> movie)
    : m_movie(movie ? std::move(movie) : std::make_shared<const Movie>())
    , m_cache(std::make_unique<RenderCache>())
    , m_raster(std::make_unique<CoverageRaster>())
{
}

Renderer::~Renderer() = default;

Matrix Renderer::stageToView(const Rect& stage, QSize viewSize, const StageLayout& layout)
{
    return flash::stageToView(stage, viewSize.width(), viewSize.height(), layout);
}

void Renderer::setDictionaryFrame(uint32_t frame)
{
    m_cache->setDictionaryFrame(m_movie.get(), frame);
}

bool Renderer::hitTest(const DisplayObject& object, const Movie& movie, Point stagePoint)
{
    return hitsDrawnArea(*m_cache, movie, object, stagePoint);
}

void Renderer::render(QPainter& painter, const DisplayList& root, QSize viewSize)
{
    paintView(painter, viewSize, [&](DisplayListPainter& lists, const Matrix& toView) {
        lists.drawList(root, toView, ColorTransform{});
    });
}

void Renderer::render(QPainter& painter, const DisplayObject& root, QSize viewSize)
{
    paintView(painter, viewSize, [&](DisplayListPainter& lists, const Matrix& toView) {
        if (root.visible)
            lists.draw(placementOf(root, toView), 0);
    });
}

void Renderer::render(QPainter& painter, std::span<const DisplayObject* const> levels, QSize viewSize)
{
    paintView(painter, viewSize, [&](DisplayListPainter& lists, const Matrix& toView) {
        for (const DisplayObject* level : levels) {
            if (level && level->visible)
                lists.drawObject(*level, toView, ColorTransform{}, 0);
        }
    });
}

void Renderer::drawObjectInto(QImage& image, const DisplayObject& object, const Movie& movie, const Matrix& toPixels,
                              const ColorTransform& transform, BlendMode blend, const QRect& clip, bool smoothing)
{
    if (image.isNull())
        return;
    QPainter painter(&image);
    if (!clip.isNull())
        painter.setClipRect(clip);
    painter.setRenderHint(QPainter::Antialiasing, m_quality == RenderQuality::High);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smoothing);
    drawOnDrawingThread(painter, [&] {
        size_t visits = kVisitsPerFrame;
        DirectFill direct(painter, *m_raster);
        PaintContext context{painter, *m_cache, movie, m_quality == RenderQuality::High, toPixels.a, toPixels, &visits,
                             &direct};
        Placement placement = placementOf(object, Matrix{});
        placement.toView = toPixels;
        placement.transform = transform;
        placement.blend = blend;
        DisplayListPainter(context, false).draw(placement, 0);
        clearUpperVectorState();
    });
}

QImage Renderer::bitmap(const Movie& movie, uint16_t id)
{
    return m_cache->bitmap(movie, id);
}

template<typename Draw>
void Renderer::paintView(QPainter& painter, QSize viewSize, Draw&& draw)
{
    drawOnDrawingThread(painter, [&] {
        painter.save();
        painter.resetTransform();
        painter.fillRect(QRect(QPoint(0, 0), viewSize), toQColor(m_movie->backgroundColor));
        const bool high = m_quality == RenderQuality::High;
        painter.setRenderHint(QPainter::Antialiasing, high);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, high);
        const Matrix toView = stageToView(m_movie->header.stage, viewSize, m_layout);
        size_t visits = kVisitsPerFrame;
        DirectFill direct(painter, *m_raster);
        PaintContext context{painter, *m_cache, *m_movie, high, toView.a, toView, &visits, &direct};
        DisplayListPainter lists(context, false);
        draw(lists, toView);
        painter.restore();
        // What runs next (scripts, filters, an encoder) is SSE code, slowed by Qt's AVX drawing otherwise.
        clearUpperVectorState();
    });
}

QImage Renderer::renderToImage(const DisplayList& root, QSize viewSize)
{
    QImage image(viewSize.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    render(painter, root, image.size());
    painter.end();
    return image;
}

CacheStatistics Renderer::cacheStatistics() const
{
    return m_cache->statistics();
}

void Renderer::clearCaches()
{
    m_cache->clear();
}

} // namespace flash
