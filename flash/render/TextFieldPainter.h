// Draws a text field: background and border, then its lines of text (embedded
// glyph outlines or system glyphs), scrolled and clipped to the field.
#pragma once

#include "flash/render/PaintContext.h"
#include "flash/render/Placement.h"

#include <QRectF>

namespace flash {

void paintTextField(const PaintContext& context, const EditTextDef& def, const Placement& placement);

// The field's rectangle (twips, its own space): the live one when it has a state, else its definition's.
[[nodiscard]] QRectF textFieldBounds(const EditTextDef& def, const Placement& placement);

} // namespace flash
