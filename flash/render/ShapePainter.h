// Paints a shape's outline with its fill and line styles.
#pragma once

#include "flash/model/ShapeDef.h"
#include "flash/render/PaintContext.h"
#include "flash/render/ShapeOutline.h"

namespace flash {

// Each layer's fills, then its lines; `toView` maps the shape's twips to view pixels.
void paintShape(const PaintContext& context, const ShapeDef& styles, const ShapeOutline& outline,
                const Matrix& toView, const ColorTransform& transform);

// Fills `path` (shape twips, painter already set to the shape's transform) with
// a fill style, then covers `seams` with a one-pixel line of the same paint.
// `flat`, when given, keeps `path` cut into lines from one drawing to the next.
void paintFill(const PaintContext& context, const FillStyle& fill, const QPainterPath& path,
               const ColorTransform& transform, const QPainterPath& seams = {},
               const FlatOutlineCache* flat = nullptr);

} // namespace flash
