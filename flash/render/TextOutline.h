// Static text converted once into filled paths, one per run of glyphs.
#pragma once

#include "flash/model/FontDef.h"
#include "flash/model/Movie.h"

#include <QPainterPath>
#include <vector>

namespace flash {

struct TextOutline {
    struct Run {
        QPainterPath path; // twips of the text's space, before the text's own matrix
        Rgba color;
        std::vector<QPainterPath> pieces; // the same glyphs, a few to each path
    };
    std::vector<Run> runs;

    [[nodiscard]] size_t cost() const;
};

// Glyph outlines are in font units, EM = FontDef::emSize; a record's height is
// the EM size in twips. Glyphs of fonts without outlines are left out.
[[nodiscard]] TextOutline buildTextOutline(const TextDef& text, const Movie& movie);

} // namespace flash
