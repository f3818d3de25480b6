// Fills and strokes of one shape: solid, gradient and bitmap paint; stroke
// widths with their scaling modes and a one-pixel minimum.
#include "flash/render/ShapePainter.h"

#include "flash/render/ImageColorTransform.h"

#include "flash/render/GradientBrush.h"
#include "flash/render/PathPieces.h"
#include "flash/render/QtConversions.h"
#include "flash/render/RenderCache.h"
#include "flash/render/StrokeCaps.h"
#include "flash/render/raster/DirectFill.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace flash {

namespace {

bool isSmoothed(FillKind kind)
{
    return kind == FillKind::RepeatingBitmap || kind == FillKind::ClippedBitmap;
}

bool isClipped(FillKind kind)
{
    return kind == FillKind::ClippedBitmap || kind == FillKind::NonSmoothedClippedBitmap;
}

// A script's pixels as they are now, under `transform` (borrowed: the shape holds the surface while it is drawn).
QImage surfaceImage(const BitmapSurface& surface, const ColorTransform& transform)
{
    if (surface.isEmpty() || surface.pixels.size() < size_t(surface.width) * size_t(surface.height))
        return {};
    const QImage image(reinterpret_cast<const uchar*>(surface.pixels.data()), surface.width, surface.height,
                       QImage::Format_ARGB32_Premultiplied);
    return transform.isIdentity() ? image : colorTransformed(image, transform);
}

// A texture brush for a bitmap fill, or nothing when the bitmap is missing.
std::optional<QBrush> bitmapBrush(const PaintContext& context, const FillStyle& fill,
                                  const ColorTransform& transform)
{
    if (!isUsable(fill.matrix) || !fill.matrix.inverted())
        return std::nullopt;
    QImage image = fill.surface ? surfaceImage(*fill.surface, transform)
                                : context.cache.bitmap(context.movie, fill.bitmapId, transform);
    if (image.isNull())
        return std::nullopt;
    QBrush brush(image);
    brush.setTransform(toQTransform(fill.matrix));
    return brush;
}

std::optional<QBrush> fillBrush(const PaintContext& context, const FillStyle& fill, const ColorTransform& transform)
{
    if (fill.kind == FillKind::Solid) {
        const Rgba color = transform.apply(fill.color);
        if (color.a == 0)
            return std::nullopt;
        return QBrush(toQColor(color));
    }
    if (isGradient(fill.kind))
        return gradientBrush(fill, transform);
    return bitmapBrush(context, fill, transform);
}

void setSmoothing(const PaintContext& context, FillKind kind)
{
    context.painter.setRenderHint(QPainter::SmoothPixmapTransform,
                                  context.highQuality && (!isBitmap(kind) || isSmoothed(kind)));
}

// Beyond a clipped bitmap's edges its outermost pixels repeat; the picture
// does not tile. The picture is drawn grown by a border of repeated edge pixels
// wide enough for the path (within reason; farther out the path is cut off).
constexpr int kMaxEdgeBorder = 256;

void paintClippedBitmap(const PaintContext& context, const FillStyle& fill, const QPainterPath& path,
                        const ColorTransform& transform)
{
    if (!isUsable(fill.matrix) || !fill.matrix.inverted())
        return;
    if (fill.surface) {
        // A script's pixels cover their own rectangle only.
        const QImage image = surfaceImage(*fill.surface, transform);
        if (image.isNull())
            return;
        QBrush brush(image);
        brush.setTransform(toQTransform(fill.matrix));
        QPainterPath area;
        area.addPolygon(toQTransform(fill.matrix).map(QPolygonF(QRectF(0, 0, image.width(), image.height()))));
        area.closeSubpath();
        context.painter.fillPath(path.intersected(area), brush);
        return;
    }
    const QImage picture = context.cache.bitmap(context.movie, fill.bitmapId);
    if (picture.isNull())
        return;
    const QTransform toShape = toQTransform(fill.matrix);
    const QRectF pictureRect(0, 0, picture.width(), picture.height());
    const QRectF reach = toShape.inverted().mapRect(path.boundingRect());
    const double overhang = std::max({pictureRect.left() - reach.left(), reach.right() - pictureRect.right(),
                                      pictureRect.top() - reach.top(), reach.bottom() - pictureRect.bottom(), 0.0});
    // A border of at least one pixel keeps smoothing from blending in the opposite edge.
    int border = 1;
    while (border < overhang + 1 && border < kMaxEdgeBorder)
        border *= 2;
    const QImage grown = context.cache.bitmapWithEdges(context.movie, fill.bitmapId, transform, border);
    if (grown.isNull())
        return;
    QBrush brush(grown);
    brush.setTransform(QTransform::fromTranslate(-border, -border) * toShape);
    QPainter& painter = context.painter;
    if (overhang < border) {
        painter.fillPath(path, brush);
        return;
    }
    QPainterPath grownArea;
    grownArea.addPolygon(toShape.map(QPolygonF(pictureRect.adjusted(-border, -border, border, border))));
    grownArea.closeSubpath();
    painter.save();
    painter.setClipPath(grownArea, Qt::IntersectClip);
    painter.fillPath(path, brush);
    painter.restore();
}

// What draws straight into the picture, when there is such a thing and `brush` is one colour.
DirectFill* directFor(const PaintContext& context, const QBrush& brush)
{
    return brush.style() == Qt::SolidPattern ? context.direct : nullptr;
}

// Fills `path` with `brush` straight into the picture when it can (`flat`, when
// given, keeps the path cut into lines). Otherwise the painter fills it, a few
// of `pieces` at a time where that paints the same (see PathPieces.h).
void fillArea(const PaintContext& context, const QPainterPath& path, const QBrush& brush,
              const FlatOutlineCache* flat, std::span<const QPainterPath> pieces = {})
{
    if (DirectFill* direct = directFor(context, brush)) {
        if (flat ? direct->fill(path, *flat, brush.color()) : direct->fill(path, brush.color()))
            return;
    }
    if (!pieces.empty() && fillsPieceByPiece(context.painter, brush)) {
        for (const QPainterPath& piece : pieces)
            context.painter.fillPath(piece, brush);
        return;
    }
    context.painter.fillPath(path, brush);
}

// The stroke's width in view pixels under the line's scaling mode.
double strokePixels(const PaintContext& context, const LineStyle& line, const Matrix& toView)
{
    const double sx = std::hypot(toView.a, toView.b);
    const double sy = std::hypot(toView.c, toView.d);
    if (line.noHScale && line.noVScale)
        return line.width * context.stageScale;
    if (line.noHScale)
        return line.width * sy;
    if (line.noVScale)
        return line.width * sx;
    return line.width * std::sqrt(std::abs(toView.a * toView.d - toView.b * toView.c));
}

void paintStroke(const PaintContext& context, const LineStyle& line, const ShapeOutline::StyledPath& stroke,
                 const Matrix& toView, const ColorTransform& transform)
{
    std::optional<QBrush> brush;
    if (line.hasFill) {
        brush = fillBrush(context, line.fill, transform);
        setSmoothing(context, line.fill.kind);
    } else {
        const Rgba color = transform.apply(line.color);
        if (color.a != 0)
            brush = QBrush(toQColor(color));
    }
    if (!brush)
        return;
    const double areaScale = std::sqrt(std::abs(toView.a * toView.d - toView.b * toView.c));
    if (!(areaScale > 0))
        return;
    // Lines that do not follow the object's scale keep an even width: they are
    // stroked in view pixels rather than through the object's matrix.
    const bool inViewSpace = line.noHScale || line.noVScale;
    const QTransform shapeToView = toQTransform(toView);
    if (inViewSpace)
        brush->setTransform(brush->transform() * shapeToView);
    QPen pen(*brush, 0, Qt::SolidLine, toQCap(line.startCap), toQJoin(line.join));
    const double pixels = strokePixels(context, line, toView);
    if (pixels <= 1.0 || !std::isfinite(pixels))
        pen.setCosmetic(true); // width 0: exactly one pixel whatever the scale
    else
        pen.setWidthF(inViewSpace ? pixels : line.width); // the matrix scales it to `pixels`
    if (line.join == JoinStyle::Miter)
        pen.setMiterLimit(std::max(1.0, line.miterLimit));
    if (inViewSpace)
        context.painter.resetTransform();
    const Qt::PenCapStyle startCap = toQCap(line.startCap);
    const Qt::PenCapStyle endCap = toQCap(line.endCap);
    if (pen.isCosmetic()) {
        context.painter.strokePath(inViewSpace ? shapeToView.map(stroke.path) : stroke.path, pen);
    } else if (inViewSpace) {
        // A pen has one cap for both ends; ends that differ are built as an area.
        const QPainterPath stroked = shapeToView.map(stroke.path);
        if (startCap != endCap)
            context.painter.fillPath(strokeAreaWithCaps(stroked, pen, startCap, endCap), *brush);
        else
            context.painter.strokePath(stroked, pen);
    } else {
        // In the shape's space the covered area is the same on every frame.
        const StrokeArea& area = stroke.strokeArea;
        fillArea(context, area.along(stroke.path, pen, startCap, endCap), *brush,
                 &area.flatAlong(stroke.path, pen, startCap, endCap),
                 area.piecesAlong(stroke.path, pen, startCap, endCap));
    }
    if (inViewSpace)
        context.painter.setTransform(shapeToView);
}

} // namespace

void paintFill(const PaintContext& context, const FillStyle& fill, const QPainterPath& path,
               const ColorTransform& transform, const QPainterPath& seams, const FlatOutlineCache* flat)
{
    setSmoothing(context, fill.kind);
    if (isBitmap(fill.kind) && isClipped(fill.kind)) {
        paintClippedBitmap(context, fill, path, transform);
        return;
    }
    const auto brush = fillBrush(context, fill, transform);
    if (!brush)
        return;
    fillArea(context, path, *brush, flat);
    DirectFill* direct = directFor(context, *brush);
    if (!seams.isEmpty() && context.highQuality && !(direct && direct->strokeHairlines(seams, brush->color()))) {
        QPen seamPen(*brush, 0, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
        seamPen.setCosmetic(true);
        context.painter.strokePath(seams, seamPen);
    }
}

void paintShape(const PaintContext& context, const ShapeDef& styles, const ShapeOutline& outline,
                const Matrix& toView, const ColorTransform& transform)
{
    context.painter.setTransform(toQTransform(toView));
    for (const ShapeOutline::Layer& layer : outline.layers) {
        for (const ShapeOutline::StyledPath& fill : layer.fills) {
            if (fill.style <= styles.fills.size())
                paintFill(context, styles.fills[fill.style - 1], fill.path, transform, fill.seams, &fill.flat);
        }
        for (const ShapeOutline::StyledPath& stroke : layer.strokes) {
            if (stroke.style <= styles.lines.size())
                paintStroke(context, styles.lines[stroke.style - 1], stroke, toView, transform);
        }
    }
}

} // namespace flash
