// Each object's state is hashed from what decides its pixels: its definition,
// where it lands in the view, its colour, its live text, video, bitmap and
// filters. Filters and blends of a parent change how its children draw, so
// what a child sees of them is part of its state, and a parent's filters widen
// its children's rectangles by what they spread.
#include "flash/render/SceneChanges.h"

#include "flash/render/filters/FilterChain.h"
#include "flash/stage/LocalBounds.h"

#include <bit>
#include <cmath>

namespace flash {

namespace {

constexpr int kAntialiasMargin = 2; // pixels an edge may touch beyond its bounds
constexpr uint32_t kMaxNesting = 64;

struct Hash {
    uint64_t value = 1469598103934665603ull;

    void add(uint64_t word)
    {
        value ^= word + 0x9e3779b97f4a7c15ull + (value << 6) + (value >> 2);
    }
    void add(double number) { add(std::bit_cast<uint64_t>(number)); }
    void add(const void* pointer) { add(uint64_t(reinterpret_cast<uintptr_t>(pointer))); }
    void add(const Matrix& m)
    {
        for (double v : {m.a, m.b, m.c, m.d, m.tx, m.ty})
            add(v);
    }
    void add(const ColorTransform& t)
    {
        for (double v : {t.rMult, t.gMult, t.bMult, t.aMult, t.rAdd, t.gAdd, t.bAdd, t.aAdd})
            add(v);
    }
    void add(Rgba c) { add(uint64_t(c.r) << 24 | uint64_t(c.g) << 16 | uint64_t(c.b) << 8 | c.a); }
};

void addFilter(Hash& hash, const TypedFilter& filter)
{
    hash.add(uint64_t(filter.index()));
    std::visit(
        [&hash](const auto& f) {
            if constexpr (requires { f.blurX; }) {
                hash.add(f.blurX);
                hash.add(f.blurY);
                hash.add(uint64_t(f.quality));
            }
            if constexpr (requires { f.strength; }) {
                hash.add(f.strength);
                hash.add(uint64_t(f.knockout) << 1 | uint64_t(f.compositeSource));
            }
            if constexpr (requires { f.distance; }) {
                hash.add(f.distance);
                hash.add(f.angle);
            }
            if constexpr (requires { f.color; })
                hash.add(f.color);
            if constexpr (requires { f.inner; })
                hash.add(uint64_t(f.inner));
            if constexpr (requires { f.highlightColor; }) {
                hash.add(f.highlightColor);
                hash.add(f.shadowColor);
            }
            if constexpr (requires { f.type; })
                hash.add(uint64_t(f.type));
            if constexpr (requires { f.stops; }) {
                for (const GradientStop& stop : f.stops) {
                    hash.add(stop.color);
                    hash.add(uint64_t(stop.ratio));
                }
            }
            if constexpr (requires { f.matrix; }) {
                for (double v : f.matrix)
                    hash.add(v);
            }
            if constexpr (requires { f.divisor; }) {
                hash.add(f.divisor);
                hash.add(f.bias);
                hash.add(f.defaultColor);
                hash.add(uint64_t(f.clamp) << 1 | uint64_t(f.preserveAlpha));
                hash.add(uint64_t(f.matrixX) << 8 | uint64_t(f.matrixY));
            }
        },
        filter);
}

uint64_t stateOf(const DisplayObject& object, const Matrix& toView, const ColorTransform& transform, uint64_t inherited)
{
    Hash hash;
    hash.add(inherited);
    hash.add(uint64_t(object.character.index()));
    std::visit([&hash](const auto& definition) { hash.add(static_cast<const void*>(definition.get())); }, object.character);
    hash.add(toView);
    hash.add(transform);
    hash.add(uint64_t(object.ratio) << 32 | uint64_t(object.buttonState) << 8 | uint64_t(object.blendMode));
    hash.add(uint64_t(object.clipDepth.value_or(-1)));
    hash.add(object.maskedBy.id);
    hash.add(static_cast<const void*>(object.drawing.get()));
    if (object.drawing) {
        // A drawing filled with a script's pixels shows them as they are now.
        for (const FillStyle& fill : object.drawing->fills) {
            if (fill.surface)
                hash.add(fill.surface->serial);
        }
    }
    if (object.editText)
        hash.add(object.editText->revision());
    if (object.video) {
        hash.add(static_cast<const void*>(object.video->feed.get()));
        hash.add(object.video->feed ? object.video->feed->serial : 0);
        hash.add(object.video->clearedAt);
    }
    if (object.surface) {
        hash.add(static_cast<const void*>(object.surface.get()));
        hash.add(object.surface->serial);
    }
    for (const TypedFilter& filter : object.filters)
        addFilter(hash, filter);
    return hash.value;
}

QRect viewRect(const Rect& r)
{
    return QRect(QPoint(int(std::floor(double(r.xMin))), int(std::floor(double(r.yMin)))),
                 QPoint(int(std::ceil(double(r.xMax))), int(std::ceil(double(r.yMax)))));
}

// What the object itself draws (not its children), in the view.
std::optional<Rect> ownBounds(const Movie& movie, const DisplayObject& object, const Matrix& toView)
{
    if (object.clip) {
        if (object.drawing && !object.drawing->bounds.isEmpty())
            return mappedRect(toView, object.drawing->bounds);
        return std::nullopt;
    }
    if (object.buttonChildren && !object.buttonChildren->objects().empty())
        return std::nullopt; // its shown state's objects are seen one by one
    return contentBounds(movie, object, toView);
}

// Places rather than objects are compared: a timeline that removes an object
// and places an equal one at the same depth on each loop changes nothing on screen.
uint64_t placeOf(uint64_t parentPlace, int32_t depth)
{
    Hash hash;
    hash.add(parentPlace);
    hash.add(uint64_t(uint32_t(depth)));
    return hash.value;
}

class Walk {
public:
    Walk(const Stage& stage, std::unordered_map<uint64_t, SceneChanges::Entry>& seen, uint64_t pass,
         const DisplayObject* alwaysDrawn, QRegion& changed)
        : m_stage(stage), m_seen(seen), m_pass(pass), m_alwaysDrawn(alwaysDrawn), m_changed(changed)
    {
    }

    // `place` names where the object stands: its parent's place and its depth.
    void visit(const DisplayObject& object, uint64_t place, const Matrix& parentToView,
               const ColorTransform& parentTransform, uint64_t inherited, int margin, uint32_t nesting)
    {
        if (nesting > kMaxNesting || !object.visible)
            return;
        const Matrix toView = parentToView.multiplied(object.matrix);
        const ColorTransform transform = parentTransform.multiplied(object.colorTransform);
        if (!object.filters.empty()) {
            const FilterScale scale{std::hypot(toView.a, toView.b) * kTwipsPerPixel,
                                    std::hypot(toView.c, toView.d) * kTwipsPerPixel};
            const FilterMargins spread = filterMargins(object.filters, scale);
            margin += std::max({spread.left, spread.top, spread.right, spread.bottom});
        }
        const uint64_t state = stateOf(object, toView, transform, inherited);
        QRect rect;
        if (const auto bounds = ownBounds(m_stage.movieOf(object), object, toView))
            rect = viewRect(*bounds).adjusted(-kAntialiasMargin - margin, -kAntialiasMargin - margin,
                                              kAntialiasMargin + margin, kAntialiasMargin + margin);
        SceneChanges::Entry& entry = m_seen[place];
        const bool changed = entry.pass == 0 || entry.state != state || entry.rect != rect || &object == m_alwaysDrawn;
        if (&object == m_alwaysDrawn)
            m_alwaysDrawnPlace = place;
        if (changed) {
            m_changed += entry.rect;
            m_changed += rect;
        }
        entry = {state, rect, m_pass};
        // Children draw through their parent's blend and filters.
        const uint64_t passedOn = object.filters.empty() && object.blendMode <= BlendMode::Layer ? inherited : state;
        if (const DisplayList* children = liveChildren(object)) {
            for (const auto& [depth, child] : children->objects())
                visit(*child, placeOf(place, depth), toView, transform, passedOn, margin, nesting + 1);
        }
    }

    [[nodiscard]] uint64_t alwaysDrawnPlace() const { return m_alwaysDrawnPlace; }

private:
    const Stage& m_stage;
    std::unordered_map<uint64_t, SceneChanges::Entry>& m_seen;
    uint64_t m_pass;
    const DisplayObject* m_alwaysDrawn;
    QRegion& m_changed;
    uint64_t m_alwaysDrawnPlace = 0;
};

uint64_t subtreeState(const DisplayObject& object, const Matrix& toObject, const ColorTransform& transform,
                      uint32_t nesting)
{
    Hash hash;
    hash.add(stateOf(object, toObject, transform, 0));
    hash.add(uint64_t(object.visible));
    if (const DisplayList* children = liveChildren(object); children && nesting < kMaxNesting) {
        for (const auto& [depth, child] : children->objects()) {
            hash.add(uint64_t(uint32_t(depth)));
            hash.add(subtreeState(*child, toObject.multiplied(child->matrix),
                                  transform.multiplied(child->colorTransform), nesting + 1));
        }
    }
    return hash.value;
}

} // namespace

uint64_t contentState(const DisplayObject& object)
{
    return subtreeState(object, Matrix{}, ColorTransform{}, 0);
}

QRegion SceneChanges::take(const Stage& stage, const Matrix& stageToView, QSize viewSize, const DisplayObject* alwaysDrawn)
{
    const bool fresh = viewSize != m_viewSize || !(stageToView == m_stageToView) || m_seen.empty();
    m_viewSize = viewSize;
    m_stageToView = stageToView;
    ++m_pass;
    QRegion changed;
    Walk walk(stage, m_seen, m_pass, alwaysDrawn, changed);
    uint64_t levelPlace = 0;
    for (const DisplayObject* level : stage.levels())
        walk.visit(*level, ++levelPlace, stageToView, ColorTransform{}, 0, 0, 0);
    const uint64_t always = walk.alwaysDrawnPlace();
    if (m_lastAlwaysDrawn != always) {
        if (const auto it = m_seen.find(m_lastAlwaysDrawn); it != m_seen.end())
            changed += it->second.rect;
        m_lastAlwaysDrawn = always;
    }
    // What was seen before and not now has left: its place is drawn again.
    for (auto it = m_seen.begin(); it != m_seen.end();) {
        if (it->second.pass != m_pass) {
            changed += it->second.rect;
            it = m_seen.erase(it);
        } else {
            ++it;
        }
    }
    const QRect view(QPoint(0, 0), viewSize);
    if (fresh)
        return QRegion(view);
    return changed.intersected(view);
}

} // namespace flash
