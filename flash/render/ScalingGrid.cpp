// Piecewise-linear remapping of shapes inside a sprite with a scaling grid.
#include "flash/render/ScalingGrid.h"

#include "flash/render/ObjectBounds.h"
#include "flash/render/QtConversions.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

// Scales this close to 1 need no remapping.
constexpr double kScaleTolerance = 1e-3;

} // namespace

std::optional<ScalingGrid> ScalingGrid::forSprite(const PaintContext& context, const SpriteDef& sprite,
                                                  const std::optional<Rect>& instanceGrid,
                                                  const DisplayList& children, const Matrix& toView)
{
    const auto it = context.movie.scalingGrids.find(sprite.id);
    const Rect* found = instanceGrid ? &*instanceGrid : it != context.movie.scalingGrids.end() ? &it->second : nullptr;
    if (!found || found->isEmpty() || !(context.stageScale > 0))
        return std::nullopt;
    const double sx = std::hypot(toView.a, toView.b) / context.stageScale;
    const double sy = std::hypot(toView.c, toView.d) / context.stageScale;
    const bool skewed = std::abs(toView.a * toView.c + toView.b * toView.d) > 1e-6 * (sx * sy + 1e-12);
    if (skewed || !(sx > 0) || !(sy > 0)
        || (std::abs(sx - 1) < kScaleTolerance && std::abs(sy - 1) < kScaleTolerance))
        return std::nullopt;

    // The sprite's own bounds, in its space.
    QRectF bounds;
    for (const auto& [depth, object] : children.objects()) {
        Placement child;
        child.character = &object->character;
        child.toView = object->matrix;
        child.children = liveChildren(*object);
        bounds = bounds.united(viewBounds(context, child));
    }
    if (bounds.isEmpty())
        return std::nullopt;
    const Rect& grid = *found;
    ScalingGrid result;
    result.m_x = {bounds.left(), bounds.right(), double(grid.xMin), double(grid.xMax), sx};
    result.m_y = {bounds.top(), bounds.bottom(), double(grid.yMin), double(grid.yMax), sy};
    return result;
}

// The outer bands keep their size on stage (their length divided by the
// scale here, in the sprite's space); the middle band takes what is left.
double ScalingGrid::Axis::map(double v) const
{
    const double lo = std::clamp(gridMin, boundsMin, boundsMax);
    const double hi = std::clamp(gridMax, lo, boundsMax);
    const double before = (lo - boundsMin) / scale;
    const double after = (boundsMax - hi) / scale;
    const double middle = hi - lo;
    const double stretch = middle > 0 ? std::max(0.0, (boundsMax - boundsMin) - before - after) / middle : 0;
    if (v < lo)
        return boundsMin + (v - boundsMin) / scale;
    if (v > hi)
        return boundsMax - (boundsMax - v) / scale;
    return boundsMin + before + (v - lo) * stretch;
}

QPainterPath ScalingGrid::remapped(const QPainterPath& path, const Matrix& childMatrix) const
{
    QPainterPath out = toQTransform(childMatrix).map(path);
    for (int i = 0; i < out.elementCount(); ++i) {
        const QPainterPath::Element e = out.elementAt(i);
        out.setElementPositionAt(i, m_x.map(e.x), m_y.map(e.y));
    }
    return out;
}

ShapeOutline ScalingGrid::remapped(const ShapeOutline& outline, const Matrix& childMatrix) const
{
    ShapeOutline out = outline;
    for (ShapeOutline::Layer& layer : out.layers) {
        for (ShapeOutline::StyledPath& fill : layer.fills) {
            fill.path = remapped(fill.path, childMatrix);
            fill.seams = remapped(fill.seams, childMatrix);
        }
        for (ShapeOutline::StyledPath& stroke : layer.strokes)
            stroke.path = remapped(stroke.path, childMatrix);
    }
    return out;
}

ShapeDef ScalingGrid::stylesInSpriteSpace(const ShapeDef& styles, const Matrix& childMatrix)
{
    ShapeDef out;
    out.fills = styles.fills;
    out.lines = styles.lines;
    for (FillStyle& fill : out.fills)
        fill.matrix = childMatrix.multiplied(fill.matrix);
    for (LineStyle& line : out.lines)
        line.fill.matrix = childMatrix.multiplied(line.fill.matrix);
    return out;
}

} // namespace flash
