#include "logo_mark.h"

#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace skinpaint {
namespace {

struct Stroke {
    QPointF start, control1, control2, end;  // in the unit square
    double width;                            // widest point, unit square
};

QPointF cubicPoint(const Stroke& s, double t)
{
    const double u = 1.0 - t;
    return u * u * u * s.start + 3 * u * u * t * s.control1 + 3 * u * t * t * s.control2 + t * t * t * s.end;
}

// A stroke that swells from a fine point to its full width and thins out
// again, the way a loaded brush leaves it.
QPainterPath brushStroke(const Stroke& stroke, const QRectF& box)
{
    constexpr int kSamples = 48;
    QPolygonF leftSide;
    QPolygonF rightSide;
    for (int i = 0; i <= kSamples; ++i) {
        const double t = static_cast<double>(i) / kSamples;
        const QPointF here = cubicPoint(stroke, t);
        const QPointF ahead = cubicPoint(stroke, std::min(1.0, t + 0.01)) - cubicPoint(stroke, std::max(0.0, t - 0.01));
        const double length = std::hypot(ahead.x(), ahead.y());
        const QPointF normal = length > 0 ? QPointF(-ahead.y() / length, ahead.x() / length) : QPointF();
        // Heavier at the start of the stroke, where the brush lands.
        const double swell = std::pow(std::sin(std::numbers::pi * t), 0.6) * (1.15 - 0.4 * t);
        const double half = stroke.width * swell / 2.0 + 0.006;
        leftSide << here + normal * half;
        rightSide.prepend(here - normal * half);
    }
    QPolygonF outline = leftSide + rightSide;
    for (QPointF& point : outline)
        point = QPointF(box.left() + point.x() * box.width(), box.top() + point.y() * box.height());
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    return path;
}

} // namespace

QPainterPath logoMark(const QRectF& box)
{
    const Stroke strokes[] = {
        {{0.10, 0.10}, {0.22, 0.42}, {0.32, 0.78}, {0.46, 0.92}, 0.22},  // left arm of the V
        {{0.44, 0.90}, {0.58, 0.60}, {0.68, 0.24}, {0.92, 0.08}, 0.16},  // right arm
        {{0.06, 0.58}, {0.34, 0.40}, {0.62, 0.58}, {0.90, 0.40}, 0.10},  // the sweep across
    };
    QPainterPath mark;
    mark.setFillRule(Qt::WindingFill);
    for (const Stroke& stroke : strokes)
        mark = mark.united(brushStroke(stroke, box));
    return mark;
}

} // namespace skinpaint
