// The shape a morph shows between its start and end.
#include "flash/model/MorphShapeDef.h"

#include <algorithm>

namespace flash {
namespace {

double lerp(double a, double b, double t) { return a + (b - a) * t; }

Point lerp(Point a, Point b, double t) { return {lerp(a.x, b.x, t), lerp(a.y, b.y, t)}; }

uint8_t lerpByte(uint8_t a, uint8_t b, double t)
{
    return uint8_t(std::clamp(lerp(a, b, t) + 0.5, 0.0, 255.0));
}

Rgba lerp(Rgba a, Rgba b, double t)
{
    return {lerpByte(a.r, b.r, t), lerpByte(a.g, b.g, t), lerpByte(a.b, b.b, t), lerpByte(a.a, b.a, t)};
}

Rect lerp(const Rect& a, const Rect& b, double t)
{
    auto i = [t](int32_t x, int32_t y) { return int32_t(lerp(x, y, t)); };
    return {i(a.xMin, b.xMin), i(a.xMax, b.xMax), i(a.yMin, b.yMin), i(a.yMax, b.yMax)};
}

Gradient lerp(const Gradient& a, const Gradient& b, double t)
{
    Gradient g = a;
    g.focalPoint = lerp(a.focalPoint, b.focalPoint, t);
    for (size_t i = 0; i < g.stops.size() && i < b.stops.size(); ++i) {
        g.stops[i].ratio = lerpByte(a.stops[i].ratio, b.stops[i].ratio, t);
        g.stops[i].color = lerp(a.stops[i].color, b.stops[i].color, t);
    }
    return g;
}

FillStyle lerp(const FillStyle& a, const FillStyle& b, double t)
{
    FillStyle f = a;
    f.color = lerp(a.color, b.color, t);
    f.matrix = a.matrix.interpolated(b.matrix, t);
    f.gradient = lerp(a.gradient, b.gradient, t);
    return f;
}

LineStyle lerp(const LineStyle& a, const LineStyle& b, double t)
{
    LineStyle l = a;
    l.width = uint16_t(std::clamp(lerp(a.width, b.width, t) + 0.5, 0.0, 65535.0));
    l.color = lerp(a.color, b.color, t);
    if (a.hasFill)
        l.fill = lerp(a.fill, b.fill, t);
    return l;
}

} // namespace

ShapeDef morphShapeAt(const MorphShapeDef& morph, double ratio)
{
    const double t = std::clamp(ratio, 0.0, 1.0);
    const ShapeDef& from = morph.start;
    const ShapeDef& to = morph.end;
    ShapeDef shape = from;
    shape.bounds = lerp(from.bounds, to.bounds, t);
    shape.edgeBounds = lerp(from.edgeBounds, to.edgeBounds, t);
    for (size_t i = 0; i < shape.fills.size() && i < to.fills.size(); ++i)
        shape.fills[i] = lerp(from.fills[i], to.fills[i], t);
    for (size_t i = 0; i < shape.lines.size() && i < to.lines.size(); ++i)
        shape.lines[i] = lerp(from.lines[i], to.lines[i], t);
    // The parser guarantees matching paths; stay safe if a caller built one by hand.
    for (size_t p = 0; p < shape.paths.size() && p < to.paths.size(); ++p) {
        auto& cmds = shape.paths[p].commands;
        const auto& target = to.paths[p].commands;
        for (size_t i = 0; i < cmds.size() && i < target.size(); ++i) {
            cmds[i].to = lerp(cmds[i].to, target[i].to, t);
            cmds[i].control = lerp(cmds[i].control, target[i].control, t);
        }
    }
    return shape;
}

} // namespace flash
