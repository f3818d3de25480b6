// DefineFont 1/2/3 (glyph outlines, codes, layout) and DefineFontInfo 1/2.
#include "flash/io/Result.h"
#include "flash/parse/ShapeRecords.h"
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagHandlers.h"
#include "flash/parse/Primitives.h"

#include <memory>

namespace flash {
namespace {

std::string fontName(std::span<const uint8_t> bytes)
{
    std::string name(bytes.begin(), bytes.end());
    while (!name.empty() && name.back() == '\0')
        name.pop_back();
    return name;
}

// A glyph outline: its own fill and line bits and records, no styles. Every
// contour is filled, so the paths are normalised to fill1 = 1.
Result<std::vector<ShapePath>> readGlyph(ByteReader r, ParseContext& ctx)
{
    std::vector<ShapePath> paths;
    if (r.size() == 0)
        return paths; // a blank glyph, such as a space
    std::vector<FillStyle> fills(1);
    std::vector<LineStyle> lines(1);
    ShapePathBuilder builder(fills, lines, paths, &ctx);
    BitReader bits(r);
    const unsigned fillBits = bits.ub(4);
    const unsigned lineBits = bits.ub(4);
    const std::string problem = readShapeRecords(r, fillBits, lineBits, nullptr, builder);
    builder.finish();
    if (!problem.empty())
        return failure(problem);
    for (auto& p : paths) {
        p.fill1 = (p.fill0 || p.fill1) ? 1 : 0;
        p.fill0 = 0;
        p.line = 0;
    }
    return paths;
}

// Reads `count` glyphs whose offsets are relative to `tableStart`; the last
// glyph ends at `endOffset`. The reader is left at `tableStart + endOffset`.
std::string readGlyphTable(ByteReader& r, size_t tableStart, const std::vector<uint32_t>& offsets, uint32_t endOffset,
                           FontDef& font, ParseContext& ctx)
{
    const size_t count = offsets.size();
    const size_t firstAllowed = r.position() - tableStart;
    if (endOffset > r.size() - tableStart)
        return "glyph table end " + std::to_string(endOffset) + " lies outside the tag";
    font.glyphs.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t begin = offsets[i];
        const uint32_t end = i + 1 < count ? offsets[i + 1] : endOffset;
        if (begin < firstAllowed || end < begin || end > endOffset)
            return "glyph offset " + std::to_string(begin) + " out of order or outside the tag";
        r.seek(tableStart + begin);
        auto glyph = readGlyph(r.sub(end - begin), ctx);
        if (!glyph)
            return "glyph " + std::to_string(i) + ": " + glyph.error();
        font.glyphs[i].paths = std::move(*glyph);
    }
    r.seek(tableStart + endOffset);
    return {};
}

void readCodes(ByteReader& r, FontDef& font, bool wideCodes)
{
    for (auto& glyph : font.glyphs)
        glyph.code = wideCodes ? r.u16() : r.u8();
}

void readLayout(ByteReader& r, FontDef& font)
{
    font.hasLayout = true;
    font.ascent = r.s16();
    font.descent = r.s16();
    font.leading = r.s16();
    for (auto& glyph : font.glyphs)
        glyph.advance = r.s16();
    // Glyph bounds and kerning pairs are not used for drawing.
}

} // namespace

void parseDefineFont1(TagContext& t)
{
    auto& r = t.body;
    auto font = std::make_shared<FontDef>();
    font->version = 1;
    font->id = r.u16();
    const size_t tableStart = r.position();
    const uint16_t firstOffset = r.u16();
    if (r.failed())
        return;
    const size_t count = firstOffset / 2;
    std::vector<uint32_t> offsets;
    if (count > 0) {
        offsets.reserve(count);
        offsets.push_back(firstOffset);
        for (size_t i = 1; i < count && !r.failed(); ++i)
            offsets.push_back(r.u16());
        if (r.failed())
            return t.reject("glyph offset table runs past the tag");
    }
    const std::string problem =
        readGlyphTable(r, tableStart, offsets, uint32_t(r.size() - tableStart), *font, t.ctx);
    if (!problem.empty())
        return t.reject(problem);
    const uint16_t id = font->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const FontDef>(std::move(font)));
}

void parseDefineFont2(TagContext& t)
{
    auto& r = t.body;
    auto font = std::make_shared<FontDef>();
    font->version = t.code == TagCode::DefineFont3 ? 3 : 2;
    font->emSize = font->version == 3 ? 20480 : 1024;
    font->id = r.u16();
    const uint8_t flags = r.u8();
    const bool hasLayout = flags & 0x80;
    const bool wideOffsets = flags & 0x08;
    const bool wideCodes = flags & 0x04;
    font->italic = flags & 0x02;
    font->bold = flags & 0x01;
    r.u8(); // language
    font->name = fontName(r.bytes(r.u8()));
    const uint16_t glyphCount = r.u16();
    if (r.failed())
        return;
    if (glyphCount > 0) {
        const size_t tableStart = r.position();
        const size_t offsetSize = wideOffsets ? 4 : 2;
        if ((size_t(glyphCount) + 1) * offsetSize > r.remaining())
            return t.reject(std::to_string(glyphCount) + " glyphs do not fit in the tag");
        std::vector<uint32_t> offsets(glyphCount);
        for (auto& offset : offsets)
            offset = wideOffsets ? r.u32() : r.u16();
        const uint32_t codeTableOffset = wideOffsets ? r.u32() : r.u16();
        const std::string problem = readGlyphTable(r, tableStart, offsets, codeTableOffset, *font, t.ctx);
        if (!problem.empty())
            return t.reject(problem);
        readCodes(r, *font, wideCodes);
    }
    if (hasLayout)
        readLayout(r, *font);
    if (r.failed())
        return;
    const uint16_t id = font->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const FontDef>(std::move(font)));
}

void parseDefineFontInfo(TagContext& t)
{
    auto& r = t.body;
    const uint16_t fontId = r.u16();
    auto name = fontName(r.bytes(r.u8()));
    const uint8_t flags = r.u8();
    if (t.code == TagCode::DefineFontInfo2)
        r.u8(); // language
    if (r.failed())
        return;
    auto existing = t.ctx.movie().find<FontDef>(fontId);
    if (!existing)
        return t.reject("no font with id " + std::to_string(fontId));
    auto font = std::make_shared<FontDef>(*existing);
    font->name = std::move(name);
    font->italic = flags & 0x04;
    font->bold = flags & 0x02;
    readCodes(r, *font, flags & 0x01);
    if (r.failed())
        return;
    t.ctx.movie().dictionary[fontId] = std::shared_ptr<const FontDef>(std::move(font));
}

} // namespace flash
