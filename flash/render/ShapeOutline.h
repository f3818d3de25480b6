// A shape converted once into Qt paths, grouped as it must be drawn.
#pragma once

#include "flash/model/ShapeDef.h"
#include "flash/render/StrokeArea.h"
#include "flash/render/raster/FlatOutline.h"

#include <QPainterPath>
#include <cstdint>
#include <vector>

namespace flash {

struct ShapeOutline {
    struct StyledPath {
        uint32_t style = 0; // 1-based index into the shape's fills or lines
        QPainterPath path;  // twips of the shape's space
        // Fills only: the unstroked edges this fill shares with a fill drawn
        // after it. Painted over with a one-pixel line of this fill, they keep
        // the background from showing through where two anti-aliased edges meet.
        QPainterPath seams;
        // Lines only: the area the line's pen last covered along `path`.
        StrokeArea strokeArea;
        // Fills only: `path` cut into lines, as last drawn.
        FlatOutlineCache flat;
    };
    // The styles of one style array: its fills are drawn first, then its lines;
    // a later layer draws on top of all of them.
    struct Layer {
        std::vector<StyledPath> fills;
        std::vector<StyledPath> strokes;
    };
    std::vector<Layer> layers;

    // Rough bytes held, for cache budgets.
    [[nodiscard]] size_t cost() const;
    // The union of every fill's area is what a mask made from the shape shows.
    [[nodiscard]] bool hasFills() const;
};

[[nodiscard]] ShapeOutline buildShapeOutline(const ShapeDef& shape);

// A glyph's outline: every edge that carries a fill on either side, as one area.
[[nodiscard]] QPainterPath buildGlyphOutline(const std::vector<ShapePath>& paths);

} // namespace flash
