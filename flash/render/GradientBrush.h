// Gradient fills as Qt brushes in the shape's twips space.
#pragma once

#include "flash/model/Geometry.h"
#include "flash/model/ShapeDef.h"

#include <QBrush>
#include <optional>

namespace flash {

// Gradients are laid out in a square from -16384 to 16384 twips that the
// fill's matrix maps into the shape. Returns nothing for a gradient without
// stops (it paints nothing).
[[nodiscard]] std::optional<QBrush> gradientBrush(const FillStyle& fill, const ColorTransform& transform);

} // namespace flash
