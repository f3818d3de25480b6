// Bounds of shapes, morphs, bitmaps, text, buttons and sprites mapped into the view.
#include "flash/render/ObjectBounds.h"

#include "flash/render/QtConversions.h"
#include "flash/render/RenderCache.h"
#include "flash/render/TextFieldPainter.h"
#include "flash/render/VideoPainter.h"

#include <algorithm>

namespace flash {

namespace {

QRectF toQRect(const Rect& r)
{
    return QRectF(r.xMin, r.yMin, double(r.xMax) - r.xMin, double(r.yMax) - r.yMin);
}

QRectF mapped(const Matrix& m, const QRectF& r)
{
    return toQTransform(m).mapRect(r);
}

QRectF spriteBounds(const PaintContext& context, const DisplayList& list, const Placement& parent, int level)
{
    QRectF total;
    for (const auto& [depth, object] : list.objects()) {
        if (!object->visible && !object->clipDepth)
            continue;
        const Placement child = placementOf(*object, parent.toView);
        total = total.united(viewBounds(context, child, level + 1));
    }
    return total;
}

QRectF buttonBounds(const PaintContext& context, const ButtonDef& button, const Placement& placement, int level)
{
    if (showsLiveChildren(placement))
        return spriteBounds(context, *placement.children, placement, level);
    QRectF total;
    for (const ButtonRecord* record : visibleRecords(button, placement.buttonState)) {
        std::shared_ptr<const DisplayList> frame;
        if (const auto child = recordPlacement(context, *record, placement, frame))
            total = total.united(viewBounds(context, *child, level + 1));
    }
    return total;
}

} // namespace

std::vector<const ButtonRecord*> visibleRecords(const ButtonDef& button, uint8_t state)
{
    std::vector<const ButtonRecord*> records;
    for (const ButtonRecord& record : button.records) {
        if (record.states & state)
            records.push_back(&record);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const ButtonRecord* a, const ButtonRecord* b) { return a->depth < b->depth; });
    return records;
}

std::optional<Placement> recordPlacement(const PaintContext& context, const ButtonRecord& record,
                                         const Placement& button, std::shared_ptr<const DisplayList>& keepAlive)
{
    const auto it = context.movie.dictionary.find(record.characterId);
    if (it == context.movie.dictionary.end())
        return std::nullopt;
    Placement child;
    child.character = &it->second;
    if (const auto* sprite = std::get_if<std::shared_ptr<const SpriteDef>>(&it->second); sprite && *sprite) {
        keepAlive = context.cache.spriteFirstFrame(context.movie, **sprite);
        child.children = keepAlive.get();
    }
    child.toView = button.toView.multiplied(record.matrix);
    child.transform = button.transform.multiplied(record.colorTransform);
    child.blend = record.blendMode;
    return child;
}

QRectF viewBounds(const PaintContext& context, const Placement& placement, int level)
{
    if (!placement.character || level > kMaxNesting || !isUsable(placement.toView) || !context.takeVisit())
        return {};
    const Character& character = *placement.character;
    const Matrix& m = placement.toView;
    if (auto* shape = std::get_if<std::shared_ptr<const ShapeDef>>(&character))
        return mapped(m, toQRect((*shape)->bounds));
    if (auto* morph = std::get_if<std::shared_ptr<const MorphShapeDef>>(&character))
        return mapped(m, toQRect((*morph)->start.bounds).united(toQRect((*morph)->end.bounds)));
    if (auto* text = std::get_if<std::shared_ptr<const TextDef>>(&character)) {
        const QRectF bounds = toQRect((*text)->bounds);
        return mapped(m, bounds).united(mapped(m.multiplied((*text)->matrix), bounds));
    }
    if (auto* edit = std::get_if<std::shared_ptr<const EditTextDef>>(&character))
        return mapped(m, textFieldBounds(**edit, placement));
    if (placement.surface)
        return mapped(m, QRectF(0, 0, placement.surface->width * kTwipsPerPixel, placement.surface->height * kTwipsPerPixel));
    if (auto* bitmap = std::get_if<std::shared_ptr<const BitmapDef>>(&character); bitmap && *bitmap) {
        const QImage image = context.cache.bitmap(context.movie, (*bitmap)->id);
        return mapped(m, QRectF(0, 0, image.width() * kTwipsPerPixel, image.height() * kTwipsPerPixel));
    }
    if (auto* video = std::get_if<std::shared_ptr<const VideoDef>>(&character); video && *video)
        return mapped(m, toQRect(videoBounds(**video)));
    if (auto* button = std::get_if<std::shared_ptr<const ButtonDef>>(&character))
        return buttonBounds(context, **button, placement, level);
    if (std::get_if<std::shared_ptr<const SpriteDef>>(&character) && placement.children) {
        const QRectF drawn = placement.drawing ? mapped(m, toQRect(placement.drawing->bounds)) : QRectF();
        return spriteBounds(context, *placement.children, placement, level).united(drawn);
    }
    return {};
}

} // namespace flash
