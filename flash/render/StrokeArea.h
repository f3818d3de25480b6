// The area a stroke covers, built once and reused while the pen stays the same.
#pragma once

#include "flash/render/DroppedOnCopy.h"
#include "flash/render/raster/FlatOutline.h"

#include <QPainterPath>
#include <QPen>
#include <optional>
#include <span>
#include <vector>

namespace flash {

// Turning a curved line into the area its pen covers is the costly part of
// stroking: it runs at a fine fixed precision in the shape's own units, so a
// shape with long curved lines pays for it on every frame. The area does not
// depend on where the shape is drawn, so it is kept with the line's path and
// rebuilt only when the pen's width, caps, join or miter limit change.
// The area is kept in pieces of a few of the line's subpaths each, which fill
// much faster than the whole (see PathPieces.h).
// A copy starts empty.
class StrokeArea {
public:

    // The area `pen` covers along `path`, with `startCap` and `endCap` at the
    // ends of each line. `path` must be the one this area belongs to.
    [[nodiscard]] const QPainterPath& along(const QPainterPath& path, const QPen& pen, Qt::PenCapStyle startCap,
                                            Qt::PenCapStyle endCap) const;
    // The area along() gives, cut into lines as last drawn.
    [[nodiscard]] const FlatOutlineCache& flatAlong(const QPainterPath& path, const QPen& pen,
                                                    Qt::PenCapStyle startCap, Qt::PenCapStyle endCap) const;
    // The same area in pieces that may overlap one another: filled one after
    // the other, they draw what the whole does wherever the paint is opaque.
    [[nodiscard]] std::span<const QPainterPath> piecesAlong(const QPainterPath& path, const QPen& pen,
                                                           Qt::PenCapStyle startCap, Qt::PenCapStyle endCap) const;

private:
    struct Pen {
        double width = 0;
        double miterLimit = 0;
        Qt::PenCapStyle startCap = Qt::FlatCap;
        Qt::PenCapStyle endCap = Qt::FlatCap;
        Qt::PenJoinStyle join = Qt::BevelJoin;
        friend bool operator==(const Pen&, const Pen&) = default;
    };
    struct Built {
        Pen pen;
        std::vector<QPainterPath> pieces;
        std::optional<QPainterPath> whole; // made from the pieces when first asked for
        FlatOutlineCache flatWhole;
    };
    const Built& build(const QPainterPath& path, const QPen& pen, Qt::PenCapStyle startCap, Qt::PenCapStyle endCap) const;

    mutable DroppedOnCopy<Built> m_built;
};

} // namespace flash
