// The drawing API as shape paths: each style change starts a path, and a path
// started after a new style draws on top of what came before, in call order.
#include "flash/stage/Drawing.h"

#include <algorithm>
#include <cmath>

namespace flash {
namespace {

int32_t toTwips(double v)
{
    return int32_t(std::clamp(v, -1e8, 1e8));
}

} // namespace

void Drawing::startPath(bool newStyles)
{
    ShapePath started;
    started.fill1 = m_fill;
    started.line = m_line;
    started.newStyles = newStyles;
    started.commands.push_back({PathCommand::Kind::MoveTo, m_pen, {}});
    m_shape.paths.push_back(std::move(started));
    m_pathOpen = true;
    m_published.reset();
}

ShapePath& Drawing::path()
{
    if (!m_pathOpen) {
        startPath(m_stylesChanged);
        m_stylesChanged = false;
    }
    return m_shape.paths.back();
}

void Drawing::extendBounds(Point p)
{
    const int32_t half = m_line ? m_shape.lines[m_line - 1].width / 2 : 0;
    const Rect around{toTwips(p.x) - half, toTwips(p.x) + half, toTwips(p.y) - half, toTwips(p.y) + half};
    if (!m_extent) {
        m_extent = around;
    } else {
        m_extent->xMin = std::min(m_extent->xMin, around.xMin);
        m_extent->xMax = std::max(m_extent->xMax, around.xMax);
        m_extent->yMin = std::min(m_extent->yMin, around.yMin);
        m_extent->yMax = std::max(m_extent->yMax, around.yMax);
    }
}

void Drawing::moveTo(Point to)
{
    if (!std::isfinite(to.x) || !std::isfinite(to.y))
        return;
    // Inside a fill, a move closes the outline drawn so far and starts another at the new point.
    if (m_fill != 0) {
        closeFill();
        m_fillStart = to;
    }
    m_pen = to;
    m_pathOpen = false;
}

void Drawing::closeFill()
{
    if (!m_pathOpen || m_pen == m_fillStart)
        return;
    // The closing edge fills but is not stroked.
    const uint32_t line = m_line;
    m_line = 0;
    m_pathOpen = false;
    lineTo(m_fillStart);
    m_line = line;
    m_pathOpen = false;
}

void Drawing::lineTo(Point to)
{
    if (!std::isfinite(to.x) || !std::isfinite(to.y) || isFull())
        return;
    if (!m_pathOpen)
        extendBounds(m_pen);
    path().commands.push_back({PathCommand::Kind::LineTo, to, {}});
    extendBounds(to);
    m_pen = to;
    ++m_commands;
    m_published.reset();
}

void Drawing::curveTo(Point control, Point to)
{
    if (!std::isfinite(to.x) || !std::isfinite(to.y) || !std::isfinite(control.x) || !std::isfinite(control.y)
        || isFull())
        return;
    if (!m_pathOpen)
        extendBounds(m_pen);
    path().commands.push_back({PathCommand::Kind::CurveTo, to, control});
    extendBounds(control);
    extendBounds(to);
    m_pen = to;
    ++m_commands;
    m_published.reset();
}

void Drawing::beginFill(const FillStyle& fill)
{
    endFill();
    if (m_shape.fills.size() >= kMaxStyles)
        return;
    m_shape.fills.push_back(fill);
    m_fill = uint32_t(m_shape.fills.size());
    m_fillStart = m_pen;
    m_pathOpen = false;
    m_stylesChanged = true;
}

void Drawing::endFill()
{
    if (m_fill == 0)
        return;
    closeFill();
    m_fill = 0;
    m_pathOpen = false;
}

void Drawing::lineStyle(std::optional<LineStyle> style)
{
    if (style && m_shape.lines.size() < kMaxStyles) {
        m_shape.lines.push_back(*style);
        m_line = uint32_t(m_shape.lines.size());
    } else {
        m_line = 0;
    }
    m_pathOpen = false;
    m_stylesChanged = true;
}

void Drawing::restyleLine(const FillStyle& fill)
{
    if (m_line == 0)
        return;
    m_shape.lines[m_line - 1].hasFill = true;
    m_shape.lines[m_line - 1].fill = fill;
    m_published.reset();
}

void Drawing::clear()
{
    *this = Drawing();
}

std::shared_ptr<const ShapeDef> Drawing::shape()
{
    if (!m_published && !m_shape.paths.empty()) {
        ShapeDef published = m_shape;
        published.bounds = published.edgeBounds = m_extent.value_or(Rect{});
        // An open fill shows closed, as it does while the author is still drawing it.
        if (m_fill != 0 && m_pathOpen && m_pen != m_fillStart)
            published.paths.push_back({0, m_fill, 0, {{PathCommand::Kind::MoveTo, m_pen, {}}, {PathCommand::Kind::LineTo, m_fillStart, {}}}, false});
        m_published = std::make_shared<const ShapeDef>(std::move(published));
    }
    return m_published;
}

} // namespace flash
