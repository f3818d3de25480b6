// Turns a ShapeBuilder into the bytes of shape tags: style arrays, the bit
// widths of style indices, style-change and edge records, and bounds.
#pragma once

#include "BitWriter.h"
#include "ShapeBuilder.h"

namespace swfw {

// Twips per builder unit: 20 for shapes drawn in pixels, 1 for DefineFont 1/2
// glyphs drawn in font units, 20 for DefineFont3 glyphs.
inline constexpr double kPixelUnits = 20.0;

// Styles, bit widths and records (SHAPEWITHSTYLE) for DefineShape `version` 1..4.
void writeShapeWithStyle(BitWriter& out, const ShapeBuilder& shape, int version, double unitScale = kPixelUnits);

enum class RecordContent {
    All,       // style changes and edges
    MovesOnly, // the end shape of a morph: moves and edges, no style selections
};
// Bit widths and records without style arrays (SHAPE), as glyphs and morph edges store them.
// The widths are those of the builder's first style group.
void writeShape(BitWriter& out, const ShapeBuilder& shape, double unitScale, RecordContent content = RecordContent::All);

enum class BoundsKind { WithStrokes, EdgesOnly };
[[nodiscard]] TwipsRect shapeBounds(const ShapeBuilder& shape, double unitScale = kPixelUnits,
                                    BoundsKind kind = BoundsKind::WithStrokes);

// Number of edges, which morph start and end shapes must agree on.
[[nodiscard]] size_t edgeCount(const ShapeBuilder& shape);

} // namespace swfw
