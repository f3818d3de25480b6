// Builds a stroke's area from a flat-ended body and a cap shape at each end.
#include "flash/render/StrokeCaps.h"

#include <QPainterPathStroker>
#include <QPolygonF>
#include <cmath>
#include <iterator>
#include <optional>
#include <vector>

namespace flash {

namespace {

// The points of one subpath in order, curve control points included: the
// direction at either end is that towards the nearest different point.
using Subpath = std::vector<QPointF>;

std::vector<Subpath> subpathsOf(const QPainterPath& path)
{
    std::vector<Subpath> subpaths;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo() || subpaths.empty())
            subpaths.emplace_back();
        subpaths.back().emplace_back(e.x, e.y);
    }
    return subpaths;
}

// Unit vector pointing out of the line at `end`, from the nearest different point before it.
template<typename It>
std::optional<QPointF> outward(It first, It last)
{
    const QPointF end = *first;
    for (It it = std::next(first); it != last; ++it) {
        const QPointF d = end - *it;
        const double length = std::hypot(d.x(), d.y());
        if (length > 0 && std::isfinite(length))
            return d / length;
    }
    return std::nullopt;
}

void addCap(QPainterPath& caps, QPointF at, std::optional<QPointF> direction, Qt::PenCapStyle cap, double half)
{
    if (cap == Qt::FlatCap)
        return;
    if (cap == Qt::RoundCap) {
        caps.addEllipse(at, half, half);
        return;
    }
    const QPointF along = direction.value_or(QPointF(1, 0)) * half;
    const QPointF across(-along.y(), along.x());
    // A line of no length has a square about its point; otherwise the square juts out past the end.
    const QPointF back = direction ? QPointF() : -along;
    caps.addPolygon(QPolygonF({at + back + across, at + along + across, at + along - across, at + back - across,
                               at + back + across}));
    caps.closeSubpath();
}

} // namespace

QPainterPath strokeAreaWithCaps(const QPainterPath& path, const QPen& pen, Qt::PenCapStyle startCap,
                                Qt::PenCapStyle endCap)
{
    QPainterPathStroker stroker(pen);
    stroker.setCapStyle(Qt::FlatCap);
    const QPainterPath body = stroker.createStroke(path);

    const double half = pen.widthF() / 2;
    QPainterPath caps;
    caps.setFillRule(Qt::WindingFill);
    const std::vector<Subpath> subpaths = subpathsOf(path);
    for (size_t i = 0; i < subpaths.size(); ++i) {
        const Subpath& points = subpaths[i];
        const QPointF first = points.front();
        const QPointF last = points.back();
        const auto startDirection = outward(points.begin(), points.end());
        if (first == last && startDirection)
            continue; // joined like a closed outline
        const bool continuesPrevious = i > 0 && subpaths[i - 1].back() == first;
        const bool continuedByNext = i + 1 < subpaths.size() && subpaths[i + 1].front() == last;
        if (!continuesPrevious)
            addCap(caps, first, startDirection, startCap, half);
        if (!continuedByNext)
            addCap(caps, last, outward(points.rbegin(), points.rend()), endCap, half);
    }
    if (caps.isEmpty())
        return body;
    return body.united(caps);
}

} // namespace flash
