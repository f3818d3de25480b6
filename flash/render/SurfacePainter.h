// Draws a BitmapData's pixels where a clip attached them, a pixel to twenty twips.
#pragma once

#include "flash/render/PaintContext.h"
#include "flash/render/Placement.h"

namespace flash {

void paintSurface(const PaintContext& context, const BitmapSurface& surface, const Placement& placement);

} // namespace flash
