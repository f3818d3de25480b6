// Turns shape edges into QPainterPath contours and polylines.
#include "flash/render/EdgeRun.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace flash {

namespace {

// Beyond this the rasteriser gains nothing and arithmetic starts to overflow.
constexpr double kCoordinateLimit = 1 << 28; // twips

double sane(double v)
{
    if (!std::isfinite(v))
        return 0;
    return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

Point sane(Point p)
{
    return {sane(p.x), sane(p.y)};
}

// Points meet when they agree to an eighth of a twip.
uint64_t pointKey(Point p)
{
    const auto qx = static_cast<int64_t>(std::llround(p.x * 8));
    const auto qy = static_cast<int64_t>(std::llround(p.y * 8));
    return (static_cast<uint64_t>(qx) << 32) ^ static_cast<uint64_t>(qy & 0xffffffff);
}

bool samePoint(Point a, Point b)
{
    return pointKey(a) == pointKey(b);
}

void appendSegments(QPainterPath& path, const EdgeRun& run)
{
    for (const EdgeSegment& s : run.segments) {
        if (s.isCurve)
            path.quadTo(s.control.x, s.control.y, s.to.x, s.to.y);
        else
            path.lineTo(s.to.x, s.to.y);
    }
}

// A stroker joins a subpath whose last point equals its first as if it were
// closed. A loop that must stay open is cut in the middle of its last edge
// instead: the two halves continue one another in a straight line, so the cut
// does not show, and the start and end get their caps.
void appendOpenLoop(QPainterPath& path, const EdgeRun& loop)
{
    const size_t last = loop.segments.size() - 1;
    const EdgeSegment& tail = loop.segments[last];
    const Point from = last == 0 ? loop.start : loop.segments[last - 1].to;
    if (last == 0 && !tail.isCurve) {
        path.lineTo(tail.to.x, tail.to.y); // a dot: nothing to join
        return;
    }
    for (size_t i = 0; i < last; ++i) {
        const EdgeSegment& s = loop.segments[i];
        if (s.isCurve)
            path.quadTo(s.control.x, s.control.y, s.to.x, s.to.y);
        else
            path.lineTo(s.to.x, s.to.y);
    }
    if (!tail.isCurve) {
        const Point middle{(from.x + tail.to.x) / 2, (from.y + tail.to.y) / 2};
        path.lineTo(middle.x, middle.y);
        path.moveTo(middle.x, middle.y);
        path.lineTo(tail.to.x, tail.to.y);
        return;
    }
    // The curve halves at t = 1/2.
    const Point c1{(from.x + tail.control.x) / 2, (from.y + tail.control.y) / 2};
    const Point c2{(tail.control.x + tail.to.x) / 2, (tail.control.y + tail.to.y) / 2};
    const Point middle{(c1.x + c2.x) / 2, (c1.y + c2.y) / 2};
    path.quadTo(c1.x, c1.y, middle.x, middle.y);
    path.moveTo(middle.x, middle.y);
    path.quadTo(c2.x, c2.y, tail.to.x, tail.to.y);
}

} // namespace

EdgeRun EdgeRun::reversed() const
{
    EdgeRun out;
    out.start = end();
    out.segments.reserve(segments.size());
    for (size_t i = segments.size(); i-- > 0;) {
        const Point to = i == 0 ? start : segments[i - 1].to;
        out.segments.push_back({to, segments[i].control, segments[i].isCurve});
    }
    return out;
}

void appendRuns(const ShapePath& path, std::vector<EdgeRun>& out)
{
    EdgeRun run;
    auto flush = [&] {
        if (!run.segments.empty())
            out.push_back(std::move(run));
        run = EdgeRun{};
    };
    for (const PathCommand& cmd : path.commands) {
        switch (cmd.kind) {
        case PathCommand::Kind::MoveTo:
            flush();
            run.start = sane(cmd.to);
            break;
        case PathCommand::Kind::LineTo:
            run.segments.push_back({sane(cmd.to), {}, false});
            break;
        case PathCommand::Kind::CurveTo:
            run.segments.push_back({sane(cmd.to), sane(cmd.control), true});
            break;
        }
    }
    flush();
}

QPainterPath linkIntoContours(std::vector<EdgeRun> runs, Qt::FillRule rule)
{
    QPainterPath path;
    path.setFillRule(rule);
    std::unordered_multimap<uint64_t, size_t> byStart;
    byStart.reserve(runs.size());
    for (size_t i = 0; i < runs.size(); ++i)
        byStart.emplace(pointKey(runs[i].start), i);
    std::vector<bool> used(runs.size(), false);

    auto takeRunStartingAt = [&](Point p) -> const EdgeRun* {
        auto [first, last] = byStart.equal_range(pointKey(p));
        for (auto it = first; it != last; ++it) {
            if (!used[it->second]) {
                used[it->second] = true;
                const EdgeRun* run = &runs[it->second];
                byStart.erase(it);
                return run;
            }
        }
        return nullptr;
    };

    for (size_t i = 0; i < runs.size(); ++i) {
        if (used[i])
            continue;
        used[i] = true;
        const Point contourStart = runs[i].start;
        path.moveTo(contourStart.x, contourStart.y);
        appendSegments(path, runs[i]);
        Point at = runs[i].end();
        while (!samePoint(at, contourStart)) {
            const EdgeRun* next = takeRunStartingAt(at);
            if (!next)
                break;
            appendSegments(path, *next);
            at = next->end();
        }
        path.closeSubpath();
    }
    return path;
}

QPainterPath linkIntoPolylines(const std::vector<EdgeRun>& runs, bool closeLoops)
{
    QPainterPath path;
    EdgeRun polyline;
    bool open = false;
    auto finish = [&] {
        if (!open)
            return;
        open = false;
        const bool endsWhereItStarts = samePoint(polyline.end(), polyline.start);
        path.moveTo(polyline.start.x, polyline.start.y);
        if (endsWhereItStarts && !closeLoops) {
            appendOpenLoop(path, polyline);
            return;
        }
        appendSegments(path, polyline);
        if (endsWhereItStarts)
            path.closeSubpath();
    };
    for (const EdgeRun& run : runs) {
        if (!open || !samePoint(run.start, polyline.end())) {
            finish();
            polyline = EdgeRun{run.start, {}};
            open = true;
        }
        polyline.segments.insert(polyline.segments.end(), run.segments.begin(), run.segments.end());
    }
    finish();
    return path;
}

} // namespace flash
