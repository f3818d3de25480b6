// The extent of a display object in twips, as scripts measure it (_width,
// getBounds, hitTest): shapes and drawings by their declared bounds, clips by
// everything inside them.
#pragma once

#include "flash/stage/DisplayList.h"

#include <optional>

namespace flash {

// Bounds of `object`'s content mapped by `toSpace` (the object's own matrix is
// not applied); nothing when it has no extent. Masks count as content.
[[nodiscard]] std::optional<Rect> contentBounds(const Movie& movie, const DisplayObject& object, const Matrix& toSpace);

// The object's bounds in its parent's space (its own matrix applied).
[[nodiscard]] std::optional<Rect> boundsInParent(const Movie& movie, const DisplayObject& object);

// The matrix from `object`'s space to the stage's (the root's own matrix included).
[[nodiscard]] Matrix toStage(const DisplayObject& object);

// The smallest rectangle holding `rect` mapped by `matrix`.
[[nodiscard]] Rect mappedRect(const Matrix& matrix, const Rect& rect);

} // namespace flash
