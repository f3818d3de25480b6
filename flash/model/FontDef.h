// Embedded fonts and static text.
#pragma once

#include "flash/model/Geometry.h"
#include "flash/model/ShapeDef.h"

#include <cstdint>
#include <string>
#include <vector>

namespace flash {

struct Glyph {
    // Outline in font units (the EM square is FontDef::emSize units), filled with fill1 = 1.
    std::vector<ShapePath> paths;
    uint16_t code = 0;     // character code, when the font carries a code table
    int16_t advance = 0;   // layout fonts only
};

struct FontDef {
    uint16_t id = 0;
    uint8_t version = 1;   // DefineFont 1, 2 or 3
    std::string name;      // from DefineFont2/3 or DefineFontInfo
    bool bold = false;
    bool italic = false;
    bool hasLayout = false;
    double emSize = 1024;  // 1024 for DefineFont 1/2, 20480 for DefineFont3
    int16_t ascent = 0, descent = 0, leading = 0;
    std::vector<Glyph> glyphs;
};

struct TextGlyph {
    uint32_t index = 0;   // into the font's glyphs
    int32_t advance = 0;  // twips to the next glyph
};

// One run of glyphs in one font, size and colour. Omitted values carry over
// from the previous record; the parser resolves that, so every record is complete.
struct TextRecord {
    uint16_t fontId = 0;
    Rgba color;
    double x = 0, y = 0;     // start of the run, twips in the text's space
    uint16_t height = 0;     // font height in twips
    std::vector<TextGlyph> glyphs;
};

struct TextDef {
    uint16_t id = 0;
    uint8_t version = 1;     // DefineText 1 or 2 (2 has alpha)
    Rect bounds;
    Matrix matrix;
    std::vector<TextRecord> records;
};

} // namespace flash
