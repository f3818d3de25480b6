// Lines and glyph positions of a field's text. Everything is in pixels of the
// field's own space, measured from its top-left corner; the 2-pixel gutter,
// margins, indents and alignment are already applied. Scrolling is not: the
// painter shifts the lines.
#pragma once

#include "flash/text/FontLibrary.h"
#include "flash/text/StyledText.h"

#include <vector>

namespace flash::text {

inline constexpr double kGutter = 2; // pixels between the field's edge and its text, on every side

struct LayoutOptions {
    double width = 0;         // the field's width
    bool wordWrap = false;
    bool embedFonts = false;
    bool password = false;    // every character shows as an asterisk
    bool alignToText = false; // lines align within the widest line (auto-sized fields that do not wrap)
};

// Glyphs of one face, size, colour and underline, on one line.
struct GlyphRun {
    const FontFace* face = nullptr;
    double size = 12;
    uint32_t color = 0;
    bool underline = false;
    std::vector<uint32_t> glyphs;
    std::vector<double> xs; // each glyph's origin
    double left = 0, right = 0;
};

struct LayoutLine {
    size_t begin = 0, end = 0; // characters shown on the line (a line break excluded)
    double top = 0, ascent = 0, descent = 0, leading = 0;
    double left = 0, width = 0; // where the line's text starts, and its width without trailing spaces
    std::vector<GlyphRun> runs;
    // Where a caret stands before each character of the line, and after its last one.
    std::vector<double> caretXs;

    [[nodiscard]] double baseline() const { return top + ascent; }
    [[nodiscard]] double bottom() const { return top + ascent + descent; }
};

struct TextLayout {
    std::vector<LayoutLine> lines; // at least one, even for no text
    double textWidth = 0;          // widest line
    double textHeight = 0;         // first line's top to last line's bottom
};

// Longer texts are laid out up to this many characters; the rest is not shown.
inline constexpr size_t kMaxLaidOutCharacters = 1 << 20;

// `emptyFormat` (complete) measures the line of an empty field.
[[nodiscard]] TextLayout layOutText(const StyledText& text, const TextFormat& emptyFormat, const LayoutOptions& options,
                                    FontLibrary& fonts);

} // namespace flash::text
