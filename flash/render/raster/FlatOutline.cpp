#include "flash/render/raster/FlatOutline.h"

#include "flash/render/raster/CurveLines.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

// Precisions are kept to powers of two, so that a path drawn at slowly
// changing sizes is not cut anew on every frame.
double roundedDown(double precision)
{
    return std::exp2(std::floor(std::log2(precision)));
}

// Squared distance from `p` to the segment from `a` to `b`.
double squaredDistance(QPointF p, QPointF a, QPointF b)
{
    const QPointF along = b - a;
    const double length = QPointF::dotProduct(along, along);
    const double t = length > 0 ? std::clamp(QPointF::dotProduct(p - a, along) / length, 0.0, 1.0) : 0.0;
    const QPointF off = p - (a + along * t);
    return QPointF::dotProduct(off, off);
}

// Keeps the corners of `line` without which it would stray more than
// `tolerance` from itself (Douglas and Peucker), appending them to `out`.
void appendSimplified(const std::vector<QPointF>& line, double tolerance, std::vector<QPointF>& out)
{
    if (line.size() <= 2) {
        out.insert(out.end(), line.begin(), line.end());
        return;
    }
    std::vector<bool> kept(line.size(), false);
    kept.front() = kept.back() = true;
    std::vector<std::pair<size_t, size_t>> spans{{0, line.size() - 1}};
    const double limit = tolerance * tolerance;
    while (!spans.empty()) {
        const auto [first, last] = spans.back();
        spans.pop_back();
        double farthest = 0;
        size_t at = first;
        for (size_t i = first + 1; i < last; ++i) {
            const double distance = squaredDistance(line[i], line[first], line[last]);
            if (distance > farthest) {
                farthest = distance;
                at = i;
            }
        }
        if (farthest > limit) {
            kept[at] = true;
            spans.emplace_back(first, at);
            spans.emplace_back(at, last);
        }
    }
    for (size_t i = 0; i < line.size(); ++i) {
        if (kept[i])
            out.push_back(line[i]);
    }
}

} // namespace

FlatOutline flattenOutline(const QPainterPath& path, double precision)
{
    FlatOutline outline;
    outline.precision = precision;
    outline.fillRule = path.fillRule();
    // Half the precision goes to cutting curves, half to merging lines.
    const double half = precision / 2;
    std::vector<QPointF> line;
    auto finishOutline = [&] {
        if (line.size() >= 3) {
            appendSimplified(line, half, outline.points);
            outline.ends.push_back(uint32_t(outline.points.size()));
        }
        line.clear();
    };
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.isMoveTo()) {
            finishOutline();
            line.emplace_back(element.x, element.y);
        } else if (element.isLineTo()) {
            line.emplace_back(element.x, element.y);
        } else if (element.isCurveTo() && i + 2 < count && !line.empty()) {
            const QPointF from = line.back();
            const QPointF c1(element.x, element.y);
            const QPointF c2(path.elementAt(i + 1).x, path.elementAt(i + 1).y);
            const QPointF to(path.elementAt(i + 2).x, path.elementAt(i + 2).y);
            i += 2;
            forEachCubicPoint(from, c1, c2, to, half, [&](QPointF point) { line.push_back(point); });
        }
    }
    finishOutline();
    if (!outline.points.empty()) {
        const auto [left, right] = std::minmax_element(outline.points.begin(), outline.points.end(),
                                                       [](QPointF a, QPointF b) { return a.x() < b.x(); });
        const auto [top, bottom] = std::minmax_element(outline.points.begin(), outline.points.end(),
                                                       [](QPointF a, QPointF b) { return a.y() < b.y(); });
        outline.bounds = QRectF(QPointF(left->x(), top->y()), QPointF(right->x(), bottom->y()));
    }
    return outline;
}

const FlatOutline& FlatOutlineCache::at(const QPainterPath& path, double precision) const
{
    precision = std::isfinite(precision) ? std::max(precision, 1e-3) : 1e-3;
    // A finer outline serves too, unless it is so much finer that its lines cost more than cutting anew.
    if (!m_outline || m_outline->precision > precision || m_outline->precision < precision / 8)
        m_outline = flattenOutline(path, roundedDown(precision));
    return *m_outline;
}

} // namespace flash
