// Builds a shape in pixels: style lists and a pen that draws edges.
#include "ShapeBuilder.h"

#include <numbers>
#include <stdexcept>

namespace swfw {

ShapeBuilder& ShapeBuilder::fill(const FillStyle& style, FillSide side)
{
    auto& fills = m_groups.back().fills;
    fills.push_back(style);
    const auto index = static_cast<uint32_t>(fills.size());
    m_wanted.fill0 = side == FillSide::Left ? index : 0;
    m_wanted.fill1 = side == FillSide::Right ? index : 0;
    return *this;
}

ShapeBuilder& ShapeBuilder::noFill()
{
    m_wanted.fill0 = m_wanted.fill1 = 0;
    return *this;
}

ShapeBuilder& ShapeBuilder::line(const LineStyle& style)
{
    auto& lines = m_groups.back().lines;
    lines.push_back(style);
    m_wanted.line = static_cast<uint32_t>(lines.size());
    return *this;
}

ShapeBuilder& ShapeBuilder::noLine()
{
    m_wanted.line = 0;
    return *this;
}

ShapeBuilder& ShapeBuilder::useFill0(uint32_t index)
{
    m_wanted.fill0 = index;
    return *this;
}

ShapeBuilder& ShapeBuilder::useFill1(uint32_t index)
{
    m_wanted.fill1 = index;
    return *this;
}

ShapeBuilder& ShapeBuilder::useLine(uint32_t index)
{
    m_wanted.line = index;
    return *this;
}

ShapeBuilder& ShapeBuilder::newStyles()
{
    m_groups.emplace_back();
    m_wanted = {};
    return *this;
}

void ShapeBuilder::flushStyles(std::optional<Point> moveTo)
{
    const bool switchGroup = m_groupsWritten < m_groups.size();
    if (m_groups.size() - m_groupsWritten > 1)
        throw std::logic_error("ShapeBuilder: a style group was left without edges");
    if (!moveTo && !switchGroup && m_wanted == m_written)
        return;
    StyleChange change;
    change.moveTo = moveTo;
    change.newStyles = switchGroup;
    // After new styles every selection is written, so that none depends on the old group.
    if (switchGroup || m_wanted.fill0 != m_written.fill0)
        change.fill0 = m_wanted.fill0;
    if (switchGroup || m_wanted.fill1 != m_written.fill1)
        change.fill1 = m_wanted.fill1;
    if (switchGroup || m_wanted.line != m_written.line)
        change.line = m_wanted.line;
    m_records.emplace_back(change);
    m_written = m_wanted;
    m_groupsWritten = m_groups.size();
}

ShapeBuilder& ShapeBuilder::moveTo(double x, double y)
{
    flushStyles(Point{x, y});
    m_pen = m_subpathStart = {x, y};
    return *this;
}

ShapeBuilder& ShapeBuilder::lineTo(double x, double y)
{
    flushStyles(std::nullopt);
    m_records.emplace_back(Edge{{x, y}, std::nullopt});
    m_pen = {x, y};
    return *this;
}

ShapeBuilder& ShapeBuilder::curveTo(double cx, double cy, double x, double y)
{
    flushStyles(std::nullopt);
    m_records.emplace_back(Edge{{x, y}, Point{cx, cy}});
    m_pen = {x, y};
    return *this;
}

ShapeBuilder& ShapeBuilder::close()
{
    if (m_pen != m_subpathStart)
        lineTo(m_subpathStart.x, m_subpathStart.y);
    return *this;
}

ShapeBuilder& ShapeBuilder::rect(double x, double y, double w, double h)
{
    return moveTo(x, y).lineTo(x + w, y).lineTo(x + w, y + h).lineTo(x, y + h).close();
}

ShapeBuilder& ShapeBuilder::ellipse(double cx, double cy, double rx, double ry)
{
    // Eight quadratic arcs; each control point lies where the tangents at both ends meet.
    constexpr int kSegments = 8;
    constexpr double step = 2 * std::numbers::pi / kSegments;
    const double reach = 1.0 / std::cos(step / 2);
    moveTo(cx + rx, cy);
    for (int i = 1; i <= kSegments; ++i) {
        const double mid = (i - 0.5) * step, end = i * step;
        curveTo(cx + rx * reach * std::cos(mid), cy + ry * reach * std::sin(mid),
                cx + rx * std::cos(end), cy + ry * std::sin(end));
    }
    return *this;
}

ShapeBuilder& ShapeBuilder::polygon(const std::vector<Point>& points)
{
    if (points.empty())
        return *this;
    moveTo(points.front().x, points.front().y);
    for (size_t i = 1; i < points.size(); ++i)
        lineTo(points[i].x, points[i].y);
    return close();
}

} // namespace swfw
