// The point is taken into each character's own space and tested against the
// outlines the renderer draws, so what is hit is what shows.
#include "flash/render/HitTest.h"

#include "flash/render/QtConversions.h"
#include "flash/render/RenderCache.h"
#include "flash/render/ShapeOutline.h"
#include "flash/stage/LocalBounds.h"
#include "flash/stage/ScriptMask.h"

#include <QPainterPathStroker>
#include <algorithm>
#include <vector>

namespace flash {

namespace {

// A hairline still takes a pixel-wide hit.
constexpr double kMinStrokeTwips = 20;
// Objects one test may visit: self-nesting buttons and sprites stop here.
constexpr size_t kMaxVisits = 100'000;
constexpr int kMaxDepth = 64;

bool contains(const Rect& r, Point p)
{
    return p.x >= r.xMin && p.x <= r.xMax && p.y >= r.yMin && p.y <= r.yMax;
}

class HitTester {
public:
    HitTester(RenderCache& cache, const Movie& movie, Point stagePoint)
        : m_cache(cache), m_movie(&movie), m_point(stagePoint)
    {
    }

    bool object(const DisplayObject& object, const Matrix& parentToStage, int level)
    {
        if (level > kMaxDepth || m_visits++ > kMaxVisits)
            return false;
        // A movie loaded into a clip answers from its own dictionary.
        const Movie* outer = m_movie;
        if (object.clip && object.clip->movie)
            m_movie = object.clip->movie.get();
        const bool hit = objectOfMovie(object, parentToStage, level);
        m_movie = outer;
        return hit;
    }

private:
    bool objectOfMovie(const DisplayObject& object, const Matrix& parentToStage, int level)
    {
        if (const DisplayObject* mask = scriptMaskOf(object); mask && !maskHit(*mask, level))
            return false;
        const Matrix toStage = parentToStage.multiplied(object.matrix);
        if (object.editText) {
            // A field answers by its rectangle as it is now (auto-size and scripts change it).
            const auto local = localPoint(toStage);
            return local && contains(object.editText->bounds(), *local);
        }
        if (object.drawing && withinBounds(object.drawing->bounds, toStage)
            && outline(*object.drawing, *m_cache.drawingOutline(object.drawing), toStage))
            return true;
        if (const DisplayList* children = liveChildren(object)) {
            if (std::holds_alternative<std::shared_ptr<const ButtonDef>>(object.character))
                return character(object.character, toStage, level); // buttons answer by their hit state
            return list(*children, toStage, level);
        }
        return character(object.character, toStage, level);
    }

    bool maskHit(const DisplayObject& mask, int level)
    {
        const Matrix parentToStage = mask.parent ? toStage(*mask.parent) : Matrix{};
        return object(mask, parentToStage, level + 1);
    }

    // Children top-most first would find the answer sooner, but masks are met bottom-up.
    bool list(const DisplayList& list, const Matrix& toStage, int level)
    {
        struct ClipMask {
            Depth to;
            bool hit;
        };
        std::vector<ClipMask> masks;
        for (const auto& [depth, child] : list.objects()) {
            std::erase_if(masks, [depth](const ClipMask& m) { return depth > m.to; });
            if (child->clipDepth) {
                if (*child->clipDepth > depth)
                    masks.push_back({*child->clipDepth, object(*child, toStage, level + 1)});
                continue;
            }
            if (isScriptMask(*child))
                continue;
            const bool covered = std::all_of(masks.begin(), masks.end(), [](const ClipMask& m) { return m.hit; });
            if (covered && object(*child, toStage, level + 1))
                return true;
        }
        return false;
    }

    bool character(const Character& character, const Matrix& toStage, int level)
    {
        const auto local = localPoint(toStage);
        if (!local)
            return false;
        if (auto* shape = std::get_if<std::shared_ptr<const ShapeDef>>(&character); shape && *shape)
            return contains((*shape)->bounds, *local) && outline(**shape, *m_cache.shapeOutline(**shape), toStage);
        if (auto* morph = std::get_if<std::shared_ptr<const MorphShapeDef>>(&character); morph && *morph) {
            const auto step = m_cache.morphStep(**morph, 0);
            return outline(step->shape, step->outline, toStage);
        }
        if (auto* bitmap = std::get_if<std::shared_ptr<const BitmapDef>>(&character); bitmap && *bitmap) {
            const QImage image = m_cache.bitmap(*m_movie, (*bitmap)->id);
            return !image.isNull() && contains(Rect{0, 0, int32_t(image.width() * kTwipsPerPixel), int32_t(image.height() * kTwipsPerPixel)}, *local);
        }
        if (auto* text = std::get_if<std::shared_ptr<const TextDef>>(&character); text && *text)
            return contains((*text)->bounds, *local);
        if (auto* field = std::get_if<std::shared_ptr<const EditTextDef>>(&character); field && *field)
            return contains((*field)->bounds, *local);
        if (auto* button = std::get_if<std::shared_ptr<const ButtonDef>>(&character); button && *button)
            return buttonHit(**button, toStage, level);
        if (auto* sprite = std::get_if<std::shared_ptr<const SpriteDef>>(&character); sprite && *sprite)
            return false; // a sprite that is not live on stage shows nothing
        return false;
    }

    bool buttonHit(const ButtonDef& button, const Matrix& toStage, int level)
    {
        for (const ButtonRecord& record : button.records) {
            if (!(record.states & ButtonRecord::HitTest) || m_visits++ > kMaxVisits || level > kMaxDepth)
                continue;
            const Character* inner = m_movie->characterAt(record.characterId);
            if (inner && character(*inner, toStage.multiplied(record.matrix), level + 1))
                return true;
        }
        return false;
    }

    bool outline(const ShapeDef& shape, const ShapeOutline& outline, const Matrix& toStage)
    {
        const auto local = localPoint(toStage);
        if (!local)
            return false;
        const QPointF q(local->x, local->y);
        for (const ShapeOutline::Layer& layer : outline.layers) {
            for (const auto& fill : layer.fills) {
                if (fill.path.contains(q))
                    return true;
            }
            for (const auto& stroke : layer.strokes) {
                if (stroke.style == 0 || stroke.style > shape.lines.size())
                    continue;
                const LineStyle& line = shape.lines[stroke.style - 1];
                if (strokeArea(line, stroke).contains(q))
                    return true;
            }
        }
        return false;
    }

    static QPainterPath strokeArea(const LineStyle& line, const ShapeOutline::StyledPath& stroke)
    {
        const Qt::PenCapStyle cap = toQCap(line.startCap);
        if (line.width >= kMinStrokeTwips) {
            // The same pen the renderer strokes with, so its cached area serves both.
            QPen pen(Qt::black, line.width, Qt::SolidLine, cap, toQJoin(line.join));
            if (line.join == JoinStyle::Miter)
                pen.setMiterLimit(std::max(1.0, line.miterLimit));
            return stroke.strokeArea.along(stroke.path, pen, cap, toQCap(line.endCap));
        }
        QPainterPathStroker stroker;
        stroker.setWidth(kMinStrokeTwips);
        stroker.setCapStyle(cap);
        return stroker.createStroke(stroke.path);
    }

    // A cheap test first: strokes reach at most half their width past a shape's edges, within its bounds.
    bool withinBounds(const Rect& bounds, const Matrix& toStage) const
    {
        const auto local = localPoint(toStage);
        return local && contains(Rect{bounds.xMin - int32_t(kMinStrokeTwips), bounds.xMax + int32_t(kMinStrokeTwips),
                                      bounds.yMin - int32_t(kMinStrokeTwips), bounds.yMax + int32_t(kMinStrokeTwips)},
                                 *local);
    }

    std::optional<Point> localPoint(const Matrix& toStage) const
    {
        const auto inverse = toStage.inverted();
        return inverse ? std::optional<Point>(inverse->map(m_point)) : std::nullopt;
    }

    RenderCache& m_cache;
    const Movie* m_movie;
    Point m_point;
    size_t m_visits = 0;
};

} // namespace

bool hitsDrawnArea(RenderCache& cache, const Movie& movie, const DisplayObject& object, Point stagePoint)
{
    const Matrix parentToStage = object.parent ? toStage(*object.parent) : Matrix{};
    return HitTester(cache, movie, stagePoint).object(object, parentToStage, 0);
}

} // namespace flash
