// Where in the view a placed character can draw, for culling and layer sizes.
#pragma once

#include "flash/render/PaintContext.h"
#include "flash/render/Placement.h"

#include <QRectF>

namespace flash {

// Bounds in view pixels (strokes included); empty when it draws nothing.
[[nodiscard]] QRectF viewBounds(const PaintContext& context, const Placement& placement, int level = 0);

// The buttons's records that show in `state`, in depth order.
[[nodiscard]] std::vector<const ButtonRecord*> visibleRecords(const ButtonDef& button, uint8_t state);

// The placement of a button record's character inside its button.
// Sprites in buttons show their first frame. The placement keeps the sprite's
// frame alive through `keepAlive`.
[[nodiscard]] std::optional<Placement> recordPlacement(const PaintContext& context, const ButtonRecord& record,
                                                       const Placement& button,
                                                       std::shared_ptr<const DisplayList>& keepAlive);

} // namespace flash
