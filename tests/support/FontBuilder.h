// Embedded fonts and static text: glyph outlines drawn in font units, runs
// of text laid out with the glyphs' advances.
#pragma once

#include "ShapeBuilder.h"
#include "SwfTypes.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace swfw {

// Glyph outlines are drawn in font units on an EM square of 1024, baseline at
// y = 0 and y pointing down (so letters sit at negative y), filled with one fill.
inline constexpr double kFontEm = 1024.0;

struct GlyphDef {
    char16_t code = 0;
    ShapeBuilder outline;
    double advance = 0; // font units
};

class FontBuilder {
public:
    explicit FontBuilder(std::string name, double ascent = 800, double descent = 224)
        : m_name(std::move(name)), m_ascent(ascent), m_descent(descent) {}

    FontBuilder& glyph(char16_t code, ShapeBuilder outline, double advance);
    FontBuilder& bold(bool on = true) { m_bold = on; return *this; }
    FontBuilder& italic(bool on = true) { m_italic = on; return *this; }

    [[nodiscard]] std::optional<uint32_t> indexOf(char16_t code) const;
    [[nodiscard]] const std::vector<GlyphDef>& glyphs() const { return m_glyphs; }
    [[nodiscard]] const std::string& name() const { return m_name; }
    [[nodiscard]] double ascent() const { return m_ascent; }
    [[nodiscard]] double descent() const { return m_descent; }
    [[nodiscard]] bool isBold() const { return m_bold; }
    [[nodiscard]] bool isItalic() const { return m_italic; }

private:
    std::string m_name;
    double m_ascent, m_descent;
    bool m_bold = false, m_italic = false;
    std::vector<GlyphDef> m_glyphs;
};

// One line of text in one font, size and colour; (x, y) is the baseline start in pixels.
struct TextRun {
    uint16_t fontId = 0;
    double heightPx = 20;
    Color color;
    double x = 0, y = 0;
    std::u16string text;
    double letterSpacingPx = 0; // added to every advance; the text's advances, not the font's, place glyphs
};

enum class FontVersion { V1 = 1, V2 = 2, V3 = 3 };

// Tag bodies. DefineFont (V1) carries no names or codes: pair it with DefineFontInfo.
[[nodiscard]] std::vector<uint8_t> fontBody(uint16_t id, const FontBuilder& font, FontVersion version);
[[nodiscard]] std::vector<uint8_t> fontInfoBody(uint16_t id, const FontBuilder& font, int infoVersion);
// DefineText (version 1, opaque colours) or DefineText2 (version 2, with alpha).
// `matrix` maps the runs' coordinates into the text character's own space.
[[nodiscard]] std::vector<uint8_t> textBody(uint16_t id, const std::vector<TextRun>& runs,
                                            const std::map<uint16_t, FontBuilder>& fonts, int version,
                                            const Matrix& matrix = {});

} // namespace swfw
