// Cutting cubic curves into lines.
#pragma once

#include <QPointF>
#include <algorithm>
#include <cmath>

namespace flash {

// However large a curve, it is cut into at most this many lines.
inline constexpr int kMaxLinesPerCurve = 256;

// Lines enough for the cubic to stay within `tolerance` of them (Wang's bound).
inline int linesForCubic(QPointF from, QPointF c1, QPointF c2, QPointF to, double tolerance)
{
    const QPointF bendStart = from - 2 * c1 + c2;
    const QPointF bendEnd = c1 - 2 * c2 + to;
    const double bendSquared = std::max(QPointF::dotProduct(bendStart, bendStart), QPointF::dotProduct(bendEnd, bendEnd));
    const double lines = std::ceil(std::sqrt(0.75 * std::sqrt(bendSquared) / tolerance));
    return std::isfinite(lines) ? std::clamp(int(lines), 1, kMaxLinesPerCurve) : 1;
}

// Calls `addPoint(point)` for the corners of the lines along the cubic after
// `from`, the last one being `to`.
template<typename AddPoint>
void forEachCubicPoint(QPointF from, QPointF c1, QPointF c2, QPointF to, double tolerance, AddPoint&& addPoint)
{
    const int lines = linesForCubic(from, c1, c2, to, tolerance);
    for (int step = 1; step < lines; ++step) {
        const double t = double(step) / lines;
        const double u = 1 - t;
        addPoint(from * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) + to * (t * t * t));
    }
    addPoint(to);
}

} // namespace flash
