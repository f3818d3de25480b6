// The display-list walk: depth order, masks by clip depth, sprites, buttons, layers.
#include "flash/render/DisplayListPainter.h"

#include "flash/render/LayerCompositor.h"
#include "flash/render/MaskOutline.h"
#include "flash/render/MaskStack.h"
#include "flash/render/ObjectBounds.h"
#include "flash/render/PathPieces.h"
#include "flash/render/QtConversions.h"
#include "flash/render/RenderCache.h"
#include "flash/render/SceneChanges.h"
#include "flash/render/ScalingGrid.h"
#include "flash/render/ShapePainter.h"
#include "flash/render/SurfacePainter.h"
#include "flash/render/TextFieldPainter.h"
#include "flash/render/VideoPainter.h"
#include "flash/render/filters/FilterChain.h"
#include "flash/stage/LocalBounds.h"
#include "flash/stage/ScriptMask.h"

#include <QPainter>
#include <bit>
#include <cmath>
#include <limits>

namespace flash {

namespace {

// A stroke's width may reach a little beyond the bounds a movie declares.
constexpr double kCullMargin = 4.0;
// A clip cached as a bitmap larger than this on a side is drawn afresh each time instead.
constexpr int kMaxCachedSide = 4096;

// Files store normal blending as 0 or 1, and unknown values mean normal too.
bool needsLayer(BlendMode mode)
{
    return mode >= BlendMode::Layer && mode <= BlendMode::HardLight;
}

} // namespace

DisplayListPainter::DisplayListPainter(const PaintContext& context, bool insideLayer)
    : m_context(context)
    , m_insideLayer(insideLayer)
{
    if (QPaintDevice* device = context.painter.device())
        m_deviceRect = QRectF(0, 0, device->width(), device->height());
    // Drawing only what changed: what lies wholly outside the clip's parts is not drawn at all.
    if (context.painter.hasClipping() && !insideLayer) {
        m_clipRegion = context.painter.transform().map(context.painter.clipRegion());
        m_deviceRect = m_deviceRect.intersected(m_clipRegion.boundingRect());
    }
}

DisplayListPainter::DisplayListPainter(const DisplayListPainter& outer, const PaintContext& context)
    : m_context(context)
    , m_insideLayer(outer.m_insideLayer)
    , m_deviceRect(outer.m_deviceRect)
    , m_clipRegion(outer.m_clipRegion)
{
}

void DisplayListPainter::drawList(const DisplayList& list, const Matrix& toView,
                                  const ColorTransform& transform, int level, const ScalingGrid* grid)
{
    if (level > kMaxNesting)
        return;
    MaskStack masks(m_context.painter, m_context.direct);
    for (const auto& [depth, object] : list.objects()) {
        masks.endBefore(depth);
        if (object->clipDepth) {
            if (*object->clipDepth <= depth)
                continue; // masks no depth at all
            const Placement mask = placementOf(*object, toView);
            masks.push(*object->clipDepth, isUsable(mask.toView) ? maskOutline(m_context, mask) : QPainterPath());
            continue;
        }
        if (!object->visible || isScriptMask(*object))
            continue;
        if (const DisplayObject* mask = scriptMaskOf(*object)) {
            drawMasked(*object, *mask, toView, transform, level);
            continue;
        }
        if (!(grid && drawInGrid(*object, *grid, toView, transform)))
            drawObject(*object, toView, transform, level);
    }
}

// A mask set by a script clips by its area where it stands on the stage, wherever
// the masked object sits in the tree.
void DisplayListPainter::drawMasked(const DisplayObject& object, const DisplayObject& mask, const Matrix& parentToView,
                                    const ColorTransform& parentTransform, int level)
{
    const Matrix maskParentToView = mask.parent ? m_context.stageToView.multiplied(toStage(*mask.parent))
                                                : m_context.stageToView;
    const Placement maskPlacement = placementOf(mask, maskParentToView);
    if (!isUsable(maskPlacement.toView))
        return;
    MaskStack clip(m_context.painter, m_context.direct);
    clip.push(std::numeric_limits<int32_t>::max(), maskOutline(m_context, maskPlacement));
    drawObject(object, parentToView, parentTransform, level);
}

void DisplayListPainter::drawObject(const DisplayObject& object, const Matrix& parentToView,
                                    const ColorTransform& parentTransform, int level)
{
    // A movie loaded into a clip draws with its own dictionary.
    if (object.clip && object.clip->movie && object.clip->movie.get() != &m_context.movie) {
        const PaintContext context{m_context.painter,      m_context.cache,       *object.clip->movie,
                                   m_context.highQuality,  m_context.stageScale,  m_context.stageToView,
                                   m_context.visitBudget,  m_context.direct};
        DisplayListPainter(*this, context).draw(placementOf(object, parentToView, parentTransform), level);
        return;
    }
    draw(placementOf(object, parentToView, parentTransform), level);
}

void DisplayListPainter::draw(const Placement& placement, int level)
{
    if (!placement.character || level > kMaxNesting || !isUsable(placement.toView) || !m_context.takeVisit())
        return;
    if (needsLayer(placement.blend) || !placement.filters.empty() || placement.cacheAsBitmap)
        drawInLayer(placement, level);
    else
        drawContent(placement, level);
}

bool DisplayListPainter::isOutsideView(const Placement& placement) const
{
    const QRectF bounds = viewBounds(m_context, placement);
    const QRectF reach = bounds.adjusted(-kCullMargin, -kCullMargin, kCullMargin, kCullMargin);
    if (!reach.intersects(m_deviceRect))
        return true;
    return !m_clipRegion.isEmpty() && !m_clipRegion.intersects(reach.toAlignedRect());
}

void DisplayListPainter::drawContent(const Placement& placement, int level)
{
    const Character& character = *placement.character;
    if (placement.surface) {
        if (!isOutsideView(placement))
            paintSurface(m_context, *placement.surface, placement);
        return;
    }
    if (auto* shape = std::get_if<std::shared_ptr<const ShapeDef>>(&character)) {
        if (!isOutsideView(placement))
            paintShape(m_context, **shape, *m_context.cache.shapeOutline(**shape), placement.toView, placement.transform);
    } else if (auto* morph = std::get_if<std::shared_ptr<const MorphShapeDef>>(&character)) {
        if (!isOutsideView(placement)) {
            const auto step = m_context.cache.morphStep(**morph, placement.ratio);
            paintShape(m_context, step->shape, step->outline, placement.toView, placement.transform);
        }
    } else if (auto* bitmap = std::get_if<std::shared_ptr<const BitmapDef>>(&character); bitmap && *bitmap) {
        drawBitmap(**bitmap, placement);
    } else if (auto* text = std::get_if<std::shared_ptr<const TextDef>>(&character)) {
        if (!isOutsideView(placement))
            drawText(**text, placement);
    } else if (auto* edit = std::get_if<std::shared_ptr<const EditTextDef>>(&character)) {
        if (!isOutsideView(placement))
            paintTextField(m_context, **edit, placement);
    } else if (auto* button = std::get_if<std::shared_ptr<const ButtonDef>>(&character)) {
        drawButton(**button, placement, level);
    } else if (auto* video = std::get_if<std::shared_ptr<const VideoDef>>(&character)) {
        if (!isOutsideView(placement))
            paintVideo(m_context, *video, placement);
    } else if (auto* sprite = std::get_if<std::shared_ptr<const SpriteDef>>(&character); sprite && *sprite && placement.children) {
        if (placement.drawing && !isOutsideView(placement))
            paintShape(m_context, *placement.drawing, *m_context.cache.drawingOutline(placement.drawing), placement.toView,
                       placement.transform);
        const auto grid = ScalingGrid::forSprite(m_context, **sprite, placement.scalingGrid, *placement.children,
                                                 placement.toView);
        drawList(*placement.children, placement.toView, placement.transform, level + 1, grid ? &*grid : nullptr);
    }
}

bool DisplayListPainter::drawInGrid(const DisplayObject& object, const ScalingGrid& grid, const Matrix& spriteToView,
                                    const ColorTransform& spriteTransform)
{
    if (object.blendMode >= BlendMode::Layer && object.blendMode <= BlendMode::HardLight)
        return false;
    std::shared_ptr<const MorphStep> step;
    const ShapeDef* shape = nullptr;
    std::shared_ptr<const ShapeOutline> outline;
    if (auto* def = std::get_if<std::shared_ptr<const ShapeDef>>(&object.character); def && *def) {
        shape = def->get();
        outline = m_context.cache.shapeOutline(*shape);
    } else if (auto* morph = std::get_if<std::shared_ptr<const MorphShapeDef>>(&object.character); morph && *morph) {
        step = m_context.cache.morphStep(**morph, object.ratio);
        shape = &step->shape;
        outline = std::shared_ptr<const ShapeOutline>(step, &step->outline);
    } else {
        return false;
    }
    if (!isUsable(object.matrix) || !m_context.takeVisit())
        return true;
    paintShape(m_context, ScalingGrid::stylesInSpriteSpace(*shape, object.matrix),
               grid.remapped(*outline, object.matrix), spriteToView,
               spriteTransform.multiplied(object.colorTransform));
    return true;
}

void DisplayListPainter::drawBitmap(const BitmapDef& bitmap, const Placement& placement)
{
    const QImage image = m_context.cache.bitmap(m_context.movie, bitmap.id, placement.transform);
    if (image.isNull())
        return;
    QPainter& painter = m_context.painter;
    painter.setTransform(toQTransform(placement.toView.multiplied(scaling(kTwipsPerPixel, kTwipsPerPixel))));
    // A bitmap placed by itself is drawn without smoothing unless a fill asks for it.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QPointF(0, 0), image);
}

void DisplayListPainter::drawText(const TextDef& text, const Placement& placement)
{
    const Matrix toView = placement.toView.multiplied(text.matrix);
    if (!isUsable(toView))
        return;
    QPainter& painter = m_context.painter;
    painter.setTransform(toQTransform(toView));
    for (const TextOutline::Run& run : m_context.cache.textOutline(m_context.movie, text)->runs) {
        const Rgba color = placement.transform.apply(run.color);
        if (color.a == 0)
            continue;
        const QBrush brush(toQColor(color));
        if (!fillsPieceByPiece(painter, brush)) {
            painter.fillPath(run.path, brush);
            continue;
        }
        for (const QPainterPath& piece : run.pieces)
            painter.fillPath(piece, brush);
    }
}

void DisplayListPainter::drawButton(const ButtonDef& button, const Placement& placement, int level)
{
    if (showsLiveChildren(placement)) {
        drawList(*placement.children, placement.toView, placement.transform, level + 1);
        return;
    }
    for (const ButtonRecord* record : visibleRecords(button, placement.buttonState)) {
        std::shared_ptr<const DisplayList> frame;
        if (const auto child = recordPlacement(m_context, *record, placement, frame))
            draw(*child, level + 1);
    }
}

// The object is drawn alone into a transparent layer the size of its view
// bounds, its filters applied, then composited with its blend mode. Its alpha
// applies to the layer as a whole, so overlapping children do not show through
// one another. A filtered object's layer reaches beyond the view by what its
// filters spread, so that what lies outside still casts its glow or shadow in.
void DisplayListPainter::drawInLayer(const Placement& placement, int level)
{
    const FilterScale scale{std::hypot(placement.toView.a, placement.toView.b) * kTwipsPerPixel,
                            std::hypot(placement.toView.c, placement.toView.d) * kTwipsPerPixel};
    const FilterMargins margins = filterMargins(placement.filters, scale);
    const QRect device = m_deviceRect.toAlignedRect();
    const QRect whole = margins.grown(viewBounds(m_context, placement)
                                          .adjusted(-kCullMargin, -kCullMargin, kCullMargin, kCullMargin)
                                          .toAlignedRect());
    // A clip cached as a bitmap is drawn whole, once, and reused while it looks the same.
    const bool cached = (placement.cacheAsBitmap || !placement.filters.empty()) && placement.object
                        && placement.object->id != 0 && !whole.isEmpty() && whole.width() <= kMaxCachedSide && whole.height() <= kMaxCachedSide;
    const QPoint origin(int(std::floor(placement.toView.tx)), int(std::floor(placement.toView.ty)));
    uint64_t state = 0;
    if (cached) {
        state = cachedState(placement);
        if (auto picture = m_context.cache.cachedPicture(placement.object->id, state)) {
            compositeLayer(m_context.painter, picture->image, origin + picture->offset, placement.blend,
                           layerOpacity(placement), m_insideLayer);
            return;
        }
    }
    const QRect reach = device.adjusted(-margins.right, -margins.bottom, margins.left, margins.top);
    const QRect area = cached ? whole : whole.intersected(reach);
    if (area.isEmpty())
        return;
    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return;
    layer.fill(Qt::transparent);

    Placement inner = placement;
    inner.blend = BlendMode::Normal;
    inner.toView = translation(-area.left(), -area.top()).multiplied(placement.toView);
    const double opacity = layerOpacity(placement);
    if (placement.transform.aAdd == 0)
        inner.transform.aMult = 1.0;
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHints(m_context.painter.renderHints());
        PaintContext layerContext{layerPainter,
                                  m_context.cache,
                                  m_context.movie,
                                  m_context.highQuality,
                                  m_context.stageScale,
                                  translation(-area.left(), -area.top()).multiplied(m_context.stageToView),
                                  m_context.visitBudget};
        DisplayListPainter(layerContext, true).drawContent(inner, level);
    }
    FilterCanvas canvas{std::move(layer), area.topLeft()};
    if (!placement.filters.empty())
        applyFilters(canvas, placement.filters, scale, cached ? QRect() : device);
    compositeLayer(m_context.painter, canvas.image, canvas.origin, placement.blend, opacity, m_insideLayer);
    if (cached)
        m_context.cache.keepPicture(placement.object->id, {std::move(canvas.image), canvas.origin - origin, state});
}

// The alpha of a layer's colour transform applies to the layer as a whole.
double DisplayListPainter::layerOpacity(const Placement& placement)
{
    return placement.transform.aAdd == 0 ? placement.transform.aMult : 1.0;
}

// What a cached picture depends on besides the clip's content: its scale and
// rotation, where it falls between whole pixels, and the colour drawn into it.
uint64_t DisplayListPainter::cachedState(const Placement& placement) const
{
    const Matrix& m = placement.toView;
    ColorTransform colour = placement.transform;
    if (colour.aAdd == 0)
        colour.aMult = 1.0;
    uint64_t hash = contentState(*placement.object);
    const auto mix = [&hash](double v) { hash = (hash ^ std::bit_cast<uint64_t>(v)) * 1099511628211ull; };
    for (double v : {m.a, m.b, m.c, m.d, m.tx - std::floor(m.tx), m.ty - std::floor(m.ty), colour.rMult, colour.gMult,
                     colour.bMult, colour.aMult, colour.rAdd, colour.gAdd, colour.bAdd, colour.aAdd,
                     double(m_context.highQuality)})
        mix(v);
    return hash;
}

} // namespace flash
