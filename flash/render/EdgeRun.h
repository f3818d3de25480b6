// Runs of connected edges taken from shape paths, and their linking into the
// closed contours that fills need and the polylines that strokes need.
#pragma once

#include "flash/model/ShapeDef.h"

#include <QPainterPath>
#include <span>
#include <vector>

namespace flash {

struct EdgeSegment {
    Point to;
    Point control;
    bool isCurve = false;
};

// Edges drawn one after the other without a move in between.
struct EdgeRun {
    Point start;
    std::vector<EdgeSegment> segments;

    [[nodiscard]] Point end() const { return segments.empty() ? start : segments.back().to; }
    [[nodiscard]] EdgeRun reversed() const;
};

// Splits a path's commands at each move; runs without edges are dropped.
// Coordinates are clamped and NaN is replaced so that hostile data stays drawable.
void appendRuns(const ShapePath& path, std::vector<EdgeRun>& out);

// Links runs end to start into contours, closing each one (a gap is bridged by
// a straight edge), as a fill needs them.
[[nodiscard]] QPainterPath linkIntoContours(std::vector<EdgeRun> runs, Qt::FillRule rule);

// Joins runs that continue one another into polylines; a polyline is closed
// only when it ends where it started and `closeLoops` is set. Otherwise such a
// loop is laid out so that a stroker caps its start and end instead of joining them.
[[nodiscard]] QPainterPath linkIntoPolylines(const std::vector<EdgeRun>& runs, bool closeLoops);

} // namespace flash
