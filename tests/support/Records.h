// Encoders for the records shared by many tags: rectangles, matrices, colour
// transforms, colours, fill and line styles (plain and morphing), tag headers.
#pragma once

#include "BitWriter.h"
#include "SwfTypes.h"

#include <span>
#include <vector>

namespace swfw {

void writeRect(BitWriter& out, const TwipsRect& r);
void writeMatrix(BitWriter& out, const Matrix& m);
void writeColorTransform(BitWriter& out, const ColorTransform& cx, bool withAlpha);
void writeColor(BitWriter& out, Color c, bool withAlpha);

// `shapeVersion` is the DefineShape number 1..4: it decides colour alpha,
// extended counts and the line style layout.
void writeFillStyles(BitWriter& out, std::span<const FillStyle> fills, int shapeVersion);
void writeLineStyles(BitWriter& out, std::span<const LineStyle> lines, int shapeVersion);

// Morph styles pair start[i] with end[i]; the two lists must match in kind.
// `morphVersion` 1 writes plain morph line styles, 2 the extended ones.
void writeMorphFillStyles(BitWriter& out, std::span<const FillStyle> start, std::span<const FillStyle> end);
void writeMorphLineStyles(BitWriter& out, std::span<const LineStyle> start, std::span<const LineStyle> end,
                          int morphVersion);

enum class TagHeader { Auto, Long };
// Appends one tag: the short header when the body is under 63 bytes, unless `Long` is asked.
void appendTag(std::vector<uint8_t>& out, uint16_t code, std::span<const uint8_t> body,
               TagHeader header = TagHeader::Auto);

} // namespace swfw
