// Walks a display list and draws each object: shapes, morphs, bitmaps, text,
// buttons and sprites, with masks and blend modes.
#pragma once

#include "flash/render/PaintContext.h"
#include "flash/render/Placement.h"

#include <QRectF>
#include <QRegion>

namespace flash {

class ScalingGrid;

class DisplayListPainter {
public:
    // `insideLayer`: the painter draws into a blending layer (see compositeLayer).
    DisplayListPainter(const PaintContext& context, bool insideLayer);

    // `grid`: the list is a sprite's with nine-slice scaling in force.
    void drawList(const DisplayList& list, const Matrix& toView, const ColorTransform& transform, int level = 0,
                  const ScalingGrid* grid = nullptr);
    void draw(const Placement& placement, int level);
    // One object of a list (or a level's root), with the dictionary of the movie it comes from.
    void drawObject(const DisplayObject& object, const Matrix& parentToView,
                    const ColorTransform& parentTransform, int level);

private:
    // The same walk over the objects of another movie's dictionary: what it
    // leaves out of the view stays what `outer` found.
    DisplayListPainter(const DisplayListPainter& outer, const PaintContext& context);

    void drawMasked(const DisplayObject& object, const DisplayObject& mask, const Matrix& parentToView,
                    const ColorTransform& parentTransform, int level);
    void drawContent(const Placement& placement, int level);
    // A shape of a nine-slice sprite; false when the object is not a plain shape.
    bool drawInGrid(const DisplayObject& object, const ScalingGrid& grid, const Matrix& spriteToView,
                    const ColorTransform& spriteTransform);
    void drawInLayer(const Placement& placement, int level);
    [[nodiscard]] static double layerOpacity(const Placement& placement);
    [[nodiscard]] uint64_t cachedState(const Placement& placement) const;
    void drawBitmap(const BitmapDef& bitmap, const Placement& placement);
    void drawText(const TextDef& text, const Placement& placement);
    void drawButton(const ButtonDef& button, const Placement& placement, int level);
    [[nodiscard]] bool isOutsideView(const Placement& placement) const;

    PaintContext m_context;
    bool m_insideLayer = false;
    QRectF m_deviceRect;  // the device, within the clip's bounds
    QRegion m_clipRegion; // the clip's parts on the device; empty when not clipped
};

} // namespace flash
