// Nine-slice scaling: a sprite with a scaling grid keeps its corners at their
// own size when scaled, stretching only the middle bands.
#pragma once

#include "flash/stage/DisplayList.h"
#include "flash/render/PaintContext.h"
#include "flash/render/ShapeOutline.h"

#include <QPainterPath>
#include <QRectF>
#include <optional>

namespace flash {

class ScalingGrid {
public:
    // The remapping for `sprite` drawn with `toView`, or nothing when the
    // sprite has no grid, is not scaled, or is skewed (then it scales as usual).
    // A grid a script gave the instance comes before the one the movie defines.
    [[nodiscard]] static std::optional<ScalingGrid> forSprite(const PaintContext& context, const SpriteDef& sprite,
                                                             const std::optional<Rect>& instanceGrid,
                                                             const DisplayList& children, const Matrix& toView);

    // `path` of a shape placed with `childMatrix` in the sprite, remapped into the sprite's space.
    [[nodiscard]] QPainterPath remapped(const QPainterPath& path, const Matrix& childMatrix) const;
    // `outline` remapped likewise, and `styles` with fill matrices moved into the sprite's space.
    [[nodiscard]] ShapeOutline remapped(const ShapeOutline& outline, const Matrix& childMatrix) const;
    [[nodiscard]] static ShapeDef stylesInSpriteSpace(const ShapeDef& styles, const Matrix& childMatrix);

private:
    struct Axis {
        double boundsMin = 0, boundsMax = 0, gridMin = 0, gridMax = 0;
        double scale = 1; // the sprite's scale along this axis on stage
        [[nodiscard]] double map(double v) const;
    };
    Axis m_x, m_y;
};

} // namespace flash
