// Many separate outlines, such as the lines of a grid or the glyphs of a
// paragraph, are slow to fill as one path: Qt's anti-aliasing rasterizer
// keeps each pixel row's cells in a list that it searches from the start, so
// one fill costs the square of the outlines side by side on every row. Filled
// a few at a time they cost what they cover.
#pragma once

#include <QBrush>
#include <QPainter>

namespace flash {

// Outlines filled together, at most: few enough that a row's list stays
// short, enough that the fills' own set-up does not add up.
constexpr int kOutlinesPerPiece = 8;

// True when filling the pieces of a path one after the other paints what
// filling it whole does: an opaque colour drawn over what is there. Where
// pieces overlap, a translucent paint would show twice.
[[nodiscard]] inline bool fillsPieceByPiece(const QPainter& painter, const QBrush& brush)
{
    return brush.style() == Qt::SolidPattern && brush.color().alpha() == 255
           && painter.compositionMode() == QPainter::CompositionMode_SourceOver;
}

} // namespace flash
