// Gathers the filled outlines of a mask and joins them into one clip path.
#include "flash/render/MaskOutline.h"

#include "flash/render/ObjectBounds.h"
#include "flash/render/QtConversions.h"
#include "flash/render/RenderCache.h"

namespace flash {

namespace {

constexpr size_t kMaxUnitedPieces = 48;

// Areas of one character: the fills of a shape are disjoint, so they can share
// one even-odd path; different characters may overlap and are kept apart.
class MaskCollector {
public:
    explicit MaskCollector(const PaintContext& context) : m_context(context) {}

    void collect(const Placement& placement, int level);
    [[nodiscard]] QPainterPath result() const;

private:
    void addShape(const ShapeOutline& outline, const Matrix& toView);
    void addPiece(QPainterPath piece);

    const PaintContext& m_context;
    std::vector<QPainterPath> m_pieces;
};

void MaskCollector::addPiece(QPainterPath piece)
{
    if (piece.isEmpty())
        return;
    if (piece.fillRule() == Qt::WindingFill)
        piece = piece.simplified(); // even-odd from here on
    m_pieces.push_back(std::move(piece));
}

void MaskCollector::addShape(const ShapeOutline& outline, const Matrix& toView)
{
    const QTransform transform = toQTransform(toView);
    QPainterPath area;
    area.setFillRule(Qt::OddEvenFill);
    bool winding = false;
    for (const ShapeOutline::Layer& layer : outline.layers) {
        for (const ShapeOutline::StyledPath& fill : layer.fills) {
            winding = winding || fill.path.fillRule() == Qt::WindingFill;
            area.addPath(transform.map(fill.path));
        }
    }
    if (winding)
        area.setFillRule(Qt::WindingFill);
    addPiece(std::move(area));
}

void MaskCollector::collect(const Placement& placement, int level)
{
    if (!placement.character || level > kMaxNesting || !isUsable(placement.toView) || !m_context.takeVisit())
        return;
    const Character& character = *placement.character;
    if (auto* shape = std::get_if<std::shared_ptr<const ShapeDef>>(&character)) {
        addShape(*m_context.cache.shapeOutline(**shape), placement.toView);
    } else if (auto* morph = std::get_if<std::shared_ptr<const MorphShapeDef>>(&character)) {
        addShape(m_context.cache.morphStep(**morph, placement.ratio)->outline, placement.toView);
    } else if (auto* text = std::get_if<std::shared_ptr<const TextDef>>(&character)) {
        const QTransform transform = toQTransform(placement.toView.multiplied((*text)->matrix));
        for (const TextOutline::Run& run : m_context.cache.textOutline(m_context.movie, **text)->runs)
            addPiece(transform.map(run.path));
    } else if (auto* bitmap = std::get_if<std::shared_ptr<const BitmapDef>>(&character); bitmap && *bitmap) {
        const QImage image = m_context.cache.bitmap(m_context.movie, (*bitmap)->id);
        QPainterPath area;
        area.addRect(0, 0, image.width() * kTwipsPerPixel, image.height() * kTwipsPerPixel);
        addPiece(toQTransform(placement.toView).map(area));
    } else if (auto* button = std::get_if<std::shared_ptr<const ButtonDef>>(&character);
               button && !showsLiveChildren(placement)) {
        for (const ButtonRecord* record : visibleRecords(**button, placement.buttonState)) {
            std::shared_ptr<const DisplayList> frame;
            if (const auto child = recordPlacement(m_context, *record, placement, frame))
                collect(*child, level + 1);
        }
    } else if (placement.children) {
        if (placement.drawing)
            addShape(*m_context.cache.drawingOutline(placement.drawing), placement.toView);
        for (const auto& [depth, object] : placement.children->objects()) {
            if (object->clipDepth)
                continue; // masks inside a mask are not part of its area
            const Placement child = placementOf(*object, placement.toView);
            collect(child, level + 1);
        }
    }
}

QPainterPath MaskCollector::result() const
{
    if (m_pieces.empty())
        return {};
    QPainterPath total = m_pieces.front();
    for (size_t i = 1; i < m_pieces.size(); ++i) {
        const QPainterPath& piece = m_pieces[i];
        // Pieces that cannot overlap are simply added; overlapping ones need a
        // true union, which costs too much for masks made of very many pieces.
        if (i < kMaxUnitedPieces && total.boundingRect().intersects(piece.boundingRect()))
            total = total.united(piece);
        else
            total.addPath(piece);
    }
    return total;
}

} // namespace

QPainterPath maskOutline(const PaintContext& context, const Placement& mask)
{
    MaskCollector collector(context);
    collector.collect(mask, 0);
    return collector.result();
}

} // namespace flash
