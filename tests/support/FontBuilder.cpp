// Embedded fonts and static text.
#include "FontBuilder.h"

#include "Records.h"
#include "ShapeEncoder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace swfw {

FontBuilder& FontBuilder::glyph(char16_t code, ShapeBuilder outline, double advance)
{
    if (indexOf(code))
        throw std::invalid_argument("glyph code defined twice");
    m_glyphs.push_back({code, std::move(outline), advance});
    return *this;
}

std::optional<uint32_t> FontBuilder::indexOf(char16_t code) const
{
    auto it = std::ranges::find(m_glyphs, code, &GlyphDef::code);
    if (it == m_glyphs.end())
        return std::nullopt;
    return static_cast<uint32_t>(it - m_glyphs.begin());
}

namespace {

// DefineFont3 draws glyphs twenty times finer.
double unitScaleOf(FontVersion v) { return v == FontVersion::V3 ? 20.0 : 1.0; }

std::vector<std::vector<uint8_t>> glyphShapes(const FontBuilder& font, double scale)
{
    std::vector<std::vector<uint8_t>> shapes;
    for (const auto& g : font.glyphs()) {
        BitWriter w;
        writeShape(w, g.outline, scale);
        shapes.push_back(w.take());
    }
    return shapes;
}

std::vector<uint8_t> defineFont1(uint16_t id, const FontBuilder& font)
{
    const auto shapes = glyphShapes(font, 1.0);
    BitWriter w;
    w.u16(id);
    size_t offset = shapes.size() * 2;
    for (const auto& s : shapes) {
        if (offset > 0xFFFF)
            throw std::invalid_argument("font too large for DefineFont");
        w.u16(static_cast<uint16_t>(offset));
        offset += s.size();
    }
    for (const auto& s : shapes)
        w.bytes(s);
    return w.take();
}

std::vector<uint8_t> defineFont23(uint16_t id, const FontBuilder& font, FontVersion version)
{
    const double scale = unitScaleOf(version);
    const auto shapes = glyphShapes(font, scale);
    const size_t n = shapes.size();
    size_t shapeBytes = 0;
    for (const auto& s : shapes)
        shapeBytes += s.size();
    // Offsets count from the start of the offset table, which also holds the code table offset.
    const bool wide = (n + 1) * 2 + shapeBytes > 0xFFFF;
    const size_t entry = wide ? 4 : 2;

    BitWriter w;
    w.u16(id);
    w.u8(static_cast<uint8_t>(0x80 | (wide ? 0x08 : 0) | 0x04 | (font.isItalic() ? 0x02 : 0) | (font.isBold() ? 0x01 : 0)));
    w.u8(0); // language
    if (font.name().size() > 255)
        throw std::invalid_argument("font name too long");
    w.u8(static_cast<uint8_t>(font.name().size()));
    w.bytes({reinterpret_cast<const uint8_t*>(font.name().data()), font.name().size()});
    w.u16(static_cast<uint16_t>(n));
    size_t offset = (n + 1) * entry;
    auto writeOffset = [&](size_t v) { wide ? w.u32(static_cast<uint32_t>(v)) : w.u16(static_cast<uint16_t>(v)); };
    for (const auto& s : shapes) {
        writeOffset(offset);
        offset += s.size();
    }
    writeOffset(offset); // the code table follows the shapes
    for (const auto& s : shapes)
        w.bytes(s);
    for (const auto& g : font.glyphs())
        w.u16(g.code);
    w.i16(static_cast<int16_t>(std::lround(font.ascent() * scale)));
    w.i16(static_cast<int16_t>(std::lround(font.descent() * scale)));
    w.i16(0); // leading
    for (const auto& g : font.glyphs())
        w.i16(static_cast<int16_t>(std::lround(g.advance * scale)));
    for (const auto& g : font.glyphs())
        writeRect(w, shapeBounds(g.outline, scale, BoundsKind::EdgesOnly));
    w.u16(0); // no kerning pairs
    return w.take();
}

} // namespace

std::vector<uint8_t> fontBody(uint16_t id, const FontBuilder& font, FontVersion version)
{
    if (font.glyphs().size() > 0xFFFF)
        throw std::invalid_argument("too many glyphs");
    return version == FontVersion::V1 ? defineFont1(id, font) : defineFont23(id, font, version);
}

std::vector<uint8_t> fontInfoBody(uint16_t id, const FontBuilder& font, int infoVersion)
{
    BitWriter w;
    w.u16(id);
    if (font.name().size() > 255)
        throw std::invalid_argument("font name too long");
    w.u8(static_cast<uint8_t>(font.name().size()));
    w.bytes({reinterpret_cast<const uint8_t*>(font.name().data()), font.name().size()});
    w.u8(static_cast<uint8_t>((font.isItalic() ? 0x04 : 0) | (font.isBold() ? 0x02 : 0) | 0x01)); // wide codes
    if (infoVersion >= 2)
        w.u8(0); // language
    for (const auto& g : font.glyphs())
        w.u16(g.code);
    return w.take();
}

namespace {

struct LaidOutRun {
    const TextRun* run = nullptr;
    std::vector<uint32_t> indices;
    std::vector<int32_t> advances; // twips
};

LaidOutRun layOut(const TextRun& run, const FontBuilder& font)
{
    LaidOutRun out{&run, {}, {}};
    const double twipsPerUnit = run.heightPx * kTwipsPerPixel / kFontEm;
    for (char16_t c : run.text) {
        const auto index = font.indexOf(c);
        if (!index)
            throw std::invalid_argument("text uses a character its font lacks");
        out.indices.push_back(*index);
        out.advances.push_back(static_cast<int32_t>(
            std::lround(font.glyphs()[*index].advance * twipsPerUnit + run.letterSpacingPx * kTwipsPerPixel)));
    }
    if (out.indices.size() > 255)
        throw std::invalid_argument("text run longer than 255 glyphs");
    return out;
}

// The union of the glyph outlines as placed by the run.
void extendBounds(TwipsRect& bounds, bool& empty, const LaidOutRun& laid, const FontBuilder& font)
{
    const double twipsPerUnit = laid.run->heightPx * kTwipsPerPixel / kFontEm;
    double penX = toTwips(laid.run->x);
    const double baseY = toTwips(laid.run->y);
    for (size_t i = 0; i < laid.indices.size(); ++i) {
        const TwipsRect g = shapeBounds(font.glyphs()[laid.indices[i]].outline, 1.0, BoundsKind::EdgesOnly);
        const TwipsRect placed{static_cast<int32_t>(std::floor(penX + g.xMin * twipsPerUnit)),
                               static_cast<int32_t>(std::ceil(penX + g.xMax * twipsPerUnit)),
                               static_cast<int32_t>(std::floor(baseY + g.yMin * twipsPerUnit)),
                               static_cast<int32_t>(std::ceil(baseY + g.yMax * twipsPerUnit))};
        if (empty) {
            bounds = placed;
            empty = false;
        } else {
            bounds = {std::min(bounds.xMin, placed.xMin), std::max(bounds.xMax, placed.xMax),
                      std::min(bounds.yMin, placed.yMin), std::max(bounds.yMax, placed.yMax)};
        }
        penX += laid.advances[i];
    }
}

void writeTextRecord(BitWriter& w, const LaidOutRun& laid, int glyphBits, int advanceBits, int version)
{
    const TextRun& run = *laid.run;
    w.u8(0x80 | 0x08 | 0x04 | 0x02 | 0x01); // record with font, colour, y and x
    w.u16(run.fontId);
    writeColor(w, run.color, version >= 2);
    w.i16(static_cast<int16_t>(toTwips(run.x)));
    w.i16(static_cast<int16_t>(toTwips(run.y)));
    w.u16(static_cast<uint16_t>(toTwips(run.heightPx)));
    w.u8(static_cast<uint8_t>(laid.indices.size()));
    for (size_t i = 0; i < laid.indices.size(); ++i) {
        w.ub(laid.indices[i], glyphBits);
        w.sb(laid.advances[i], advanceBits);
    }
    w.align();
}

// The box around `r` once mapped by `m`.
TwipsRect mapped(const TwipsRect& r, const Matrix& m)
{
    double xs[4], ys[4];
    const double cx[4] = {double(r.xMin), double(r.xMax), double(r.xMin), double(r.xMax)};
    const double cy[4] = {double(r.yMin), double(r.yMin), double(r.yMax), double(r.yMax)};
    for (int i = 0; i < 4; ++i) {
        xs[i] = m.a * cx[i] + m.c * cy[i] + m.tx;
        ys[i] = m.b * cx[i] + m.d * cy[i] + m.ty;
    }
    return {static_cast<int32_t>(std::floor(*std::min_element(xs, xs + 4))),
            static_cast<int32_t>(std::ceil(*std::max_element(xs, xs + 4))),
            static_cast<int32_t>(std::floor(*std::min_element(ys, ys + 4))),
            static_cast<int32_t>(std::ceil(*std::max_element(ys, ys + 4)))};
}

} // namespace

std::vector<uint8_t> textBody(uint16_t id, const std::vector<TextRun>& runs,
                              const std::map<uint16_t, FontBuilder>& fonts, int version, const Matrix& matrix)
{
    std::vector<LaidOutRun> laid;
    int glyphBits = 1, advanceBits = 1;
    TwipsRect bounds;
    bool empty = true;
    for (const auto& run : runs) {
        auto font = fonts.find(run.fontId);
        if (font == fonts.end())
            throw std::invalid_argument("text names a font not defined");
        laid.push_back(layOut(run, font->second));
        for (uint32_t index : laid.back().indices)
            glyphBits = std::max(glyphBits, BitWriter::unsignedBits(index));
        for (int32_t advance : laid.back().advances)
            advanceBits = std::max(advanceBits, BitWriter::signedBits(advance));
        extendBounds(bounds, empty, laid.back(), font->second);
    }
    BitWriter w;
    w.u16(id);
    writeRect(w, mapped(bounds, matrix));
    writeMatrix(w, matrix);
    w.u8(static_cast<uint8_t>(glyphBits));
    w.u8(static_cast<uint8_t>(advanceBits));
    for (const auto& l : laid)
        writeTextRecord(w, l, glyphBits, advanceBits, version);
    w.u8(0); // end of records
    return w.take();
}

} // namespace swfw
