// Strokes whose two ends take different caps. A Qt pen gives every end the
// same cap, so such a stroke is built as an area instead.
#pragma once

#include <QPainterPath>
#include <QPen>

namespace flash {

// The area `pen` covers along `path`, with `startCap` where each line starts and
// `endCap` where it ends (the pen's own cap is not used). A subpath that comes
// back to its first point is joined there and has no ends; one that begins
// exactly where the previous one ended continues that line, so no cap is put
// between them. To be filled with the pen's brush, under the same transform.
[[nodiscard]] QPainterPath strokeAreaWithCaps(const QPainterPath& path, const QPen& pen, Qt::PenCapStyle startCap,
                                              Qt::PenCapStyle endCap);

} // namespace flash
