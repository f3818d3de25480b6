// A movie with one embedded font whose every glyph advances half an em, so
// that at 20 px a character is 10 px wide and a line 20 px tall (ascent 15.625,
// descent 4.375): layouts come out in round numbers, whatever fonts the system has.
#pragma once

#include "flash/text/TextField.h"

#include <memory>

namespace flash::text::test {

inline std::shared_ptr<const Movie> movieWithBlockFont()
{
    auto font = std::make_shared<FontDef>();
    font->id = 1;
    font->version = 2;
    font->name = "Blocks";
    font->hasLayout = true;
    font->ascent = 800;
    font->descent = 224;
    for (char32_t c = 0x20; c < 0x7F; ++c) {
        Glyph glyph;
        glyph.code = uint16_t(c);
        glyph.advance = 512;
        font->glyphs.push_back(std::move(glyph));
    }
    auto movie = std::make_shared<Movie>();
    movie->dictionary[1] = std::shared_ptr<const FontDef>(std::move(font));
    return movie;
}

// An embedded-font field of width x height pixels at 20 px; `flags` as DefineEditText stores them.
inline std::unique_ptr<TextField> blockField(double width, double height, uint16_t flags = 0)
{
    auto def = std::make_shared<EditTextDef>();
    def->bounds = Rect{0, int32_t(width * 20), 0, int32_t(height * 20)};
    def->fontId = 1;
    def->fontHeight = 400;
    def->flags = uint16_t(flags | 0x0100 /* has font */ | 0x0001 /* embedded glyphs */ | 0x0800 /* read-only */);
    return std::make_unique<TextField>(def, std::make_shared<FontLibrary>(movieWithBlockFont()));
}

inline constexpr uint16_t kWordWrap = 0x4000, kMultiline = 0x2000, kPassword = 0x1000, kAutoSize = 0x0040;

} // namespace flash::text::test
