// Bounds of display objects from their definitions, without drawing anything.
#include "flash/stage/LocalBounds.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace flash {
namespace {

constexpr int kMaxBoundsNesting = 64;

int32_t clampTwips(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int32_t(std::clamp(v, -1e9, 1e9));
}

void unite(std::optional<Rect>& total, const std::optional<Rect>& more)
{
    if (!more)
        return;
    if (!total) {
        total = more;
        return;
    }
    total->xMin = std::min(total->xMin, more->xMin);
    total->yMin = std::min(total->yMin, more->yMin);
    total->xMax = std::max(total->xMax, more->xMax);
    total->yMax = std::max(total->yMax, more->yMax);
}

std::optional<Rect> definitionBounds(const Movie& movie, const Character& character)
{
    if (auto* shape = std::get_if<std::shared_ptr<const ShapeDef>>(&character); shape && *shape)
        return (*shape)->bounds;
    if (auto* text = std::get_if<std::shared_ptr<const TextDef>>(&character); text && *text)
        return mappedRect((*text)->matrix, (*text)->bounds);
    if (auto* edit = std::get_if<std::shared_ptr<const EditTextDef>>(&character); edit && *edit)
        return (*edit)->bounds;
    if (auto* bitmap = std::get_if<std::shared_ptr<const BitmapDef>>(&character); bitmap && *bitmap)
        return Rect{0, int32_t((*bitmap)->width * kTwipsPerPixel), 0, int32_t((*bitmap)->height * kTwipsPerPixel)};
    if (auto* video = std::get_if<std::shared_ptr<const VideoDef>>(&character); video && *video)
        return Rect{0, int32_t((*video)->width * kTwipsPerPixel), 0, int32_t((*video)->height * kTwipsPerPixel)};
    (void)movie;
    return std::nullopt;
}

std::optional<Rect> boundsOf(const Movie& movie, const DisplayObject& object, const Matrix& toSpace, int nesting)
{
    if (nesting > kMaxBoundsNesting)
        return std::nullopt;
    std::optional<Rect> total;
    if (auto* morph = std::get_if<std::shared_ptr<const MorphShapeDef>>(&object.character); morph && *morph) {
        const double t = object.ratio / 65535.0;
        const Rect& a = (*morph)->start.bounds;
        const Rect& b = (*morph)->end.bounds;
        auto lerp = [t](int32_t x, int32_t y) { return int32_t(std::lround(x + (y - x) * t)); };
        total = mappedRect(toSpace, Rect{lerp(a.xMin, b.xMin), lerp(a.xMax, b.xMax), lerp(a.yMin, b.yMin), lerp(a.yMax, b.yMax)});
    } else if (object.surface) {
        total = mappedRect(toSpace, Rect{0, int32_t(object.surface->width * kTwipsPerPixel), 0,
                                         int32_t(object.surface->height * kTwipsPerPixel)});
    } else if (object.editText) {
        total = mappedRect(toSpace, object.editText->bounds()); // auto-sizing fields change their size
    } else if (auto own = definitionBounds(movie, object.character)) {
        total = mappedRect(toSpace, *own);
    }
    // What is drawn counts at once, before the renderer is handed it at the end of the tick.
    if (object.drawingBuilder) {
        if (const auto drawn = object.drawingBuilder->bounds())
            unite(total, mappedRect(toSpace, *drawn));
    } else if (object.drawing && !object.drawing->bounds.isEmpty()) {
        unite(total, mappedRect(toSpace, object.drawing->bounds));
    }
    if (const DisplayList* children = liveChildren(object)) {
        for (const auto& [depth, child] : children->objects())
            unite(total, boundsOf(movie, *child, toSpace.multiplied(child->matrix), nesting + 1));
    }
    return total;
}

} // namespace

Rect mappedRect(const Matrix& m, const Rect& r)
{
    const Point corners[4] = {m.map({double(r.xMin), double(r.yMin)}), m.map({double(r.xMax), double(r.yMin)}),
                              m.map({double(r.xMin), double(r.yMax)}), m.map({double(r.xMax), double(r.yMax)})};
    double xMin = std::numeric_limits<double>::infinity(), yMin = xMin, xMax = -xMin, yMax = -xMin;
    for (const Point& p : corners) {
        xMin = std::min(xMin, p.x);
        yMin = std::min(yMin, p.y);
        xMax = std::max(xMax, p.x);
        yMax = std::max(yMax, p.y);
    }
    // To the nearest twip: a rotation by a right angle leaves traces of rounding
    // in the matrix that must not widen the bounds by a twip.
    return Rect{clampTwips(std::round(xMin)), clampTwips(std::round(xMax)), clampTwips(std::round(yMin)),
                clampTwips(std::round(yMax))};
}

std::optional<Rect> contentBounds(const Movie& movie, const DisplayObject& object, const Matrix& toSpace)
{
    return boundsOf(movie, object, toSpace, 0);
}

std::optional<Rect> boundsInParent(const Movie& movie, const DisplayObject& object)
{
    return boundsOf(movie, object, object.matrix, 0);
}

Matrix toStage(const DisplayObject& object)
{
    Matrix result = object.matrix;
    int nesting = 0;
    for (const DisplayObject* at = object.parent; at && nesting < kMaxBoundsNesting; at = at->parent, ++nesting)
        result = at->matrix.multiplied(result);
    return result;
}

} // namespace flash
