// An outline cut into straight lines once and kept with its path.
#pragma once

#include "flash/render/DroppedOnCopy.h"

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <vector>

namespace flash {

// Shapes are drawn again on every frame they move, mostly at the same size:
// cutting their curves into lines anew each time would repeat the same work.
// The lines are kept in the path's own units, to a precision given in those
// units, with runs of lines that stay within that precision of one straight
// line merged into it (a stroke's area comes from Qt's stroker as hundreds of
// tiny curves).
struct FlatOutline {
    double precision = 0;          // the farthest any line lies from the path, in its units
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QRectF bounds;                 // of every corner
    std::vector<QPointF> points;   // every closed outline's corners, one after the other
    std::vector<uint32_t> ends;    // for each outline, the index past its last corner
};

[[nodiscard]] FlatOutline flattenOutline(const QPainterPath& path, double precision);

// A path's FlatOutline, rebuilt when it is asked for at a precision much finer
// or coarser than the one it has. A copy starts empty.
class FlatOutlineCache {
public:
    // `path` must be the one this cache belongs to.
    [[nodiscard]] const FlatOutline& at(const QPainterPath& path, double precision) const;

private:
    mutable DroppedOnCopy<FlatOutline> m_outline;
};

} // namespace flash
