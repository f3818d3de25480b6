// DefineText 1/2 (static text runs, carried-over values resolved) and DefineEditText.
#include "flash/io/BitReader.h"
#include "flash/parse/Primitives.h"
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagHandlers.h"

#include <memory>

namespace flash {

void parseDefineText(TagContext& t)
{
    auto& r = t.body;
    auto text = std::make_shared<TextDef>();
    text->version = t.code == TagCode::DefineText2 ? 2 : 1;
    text->id = r.u16();
    text->bounds = readRect(r);
    text->matrix = readMatrix(r);
    const unsigned glyphBits = r.u8();
    const unsigned advanceBits = r.u8();
    if (r.failed())
        return;
    if (glyphBits > 32 || advanceBits > 32)
        return t.reject("glyph field widths out of range");

    // Values a record leaves out carry over from the one before.
    TextRecord state;
    size_t glyphTotal = 0;
    while (true) {
        const uint8_t head = r.u8();
        if (r.failed())
            return t.reject("text records end without their end marker");
        if (head == 0)
            break;
        TextRecord record;
        if (head & 0x08)
            state.fontId = r.u16();
        if (head & 0x04)
            state.color = readColor(r, text->version == 2);
        if (head & 0x01)
            state.x = r.s16();
        if (head & 0x02)
            state.y = r.s16();
        if (head & 0x08)
            state.height = r.u16();
        const unsigned count = r.u8();
        if (r.failed())
            return;
        record.fontId = state.fontId;
        record.color = state.color;
        record.x = state.x;
        record.y = state.y;
        record.height = state.height;
        record.glyphs.resize(count);
        BitReader bits(r);
        for (auto& glyph : record.glyphs) {
            glyph.index = bits.ub(glyphBits);
            glyph.advance = bits.sb(advanceBits);
            state.x += glyph.advance; // the next run continues where this one ends
        }
        if (r.failed())
            return;
        glyphTotal += count;
        text->records.push_back(std::move(record));
    }
    if (!t.ctx.charge(sizeof(TextDef) + text->records.size() * sizeof(TextRecord) + glyphTotal * sizeof(TextGlyph)))
        return;
    const uint16_t id = text->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const TextDef>(std::move(text)));
}

void parseDefineEditText(TagContext& t)
{
    auto& r = t.body;
    auto edit = std::make_shared<EditTextDef>();
    edit->id = r.u16();
    edit->bounds = readRect(r);
    // Flags as stored: the first byte in the high half (bit 15 = has text).
    const uint8_t high = r.u8();
    const uint8_t low = r.u8();
    edit->flags = uint16_t(high << 8 | low);
    const bool hasText = high & 0x80;
    const bool hasTextColor = high & 0x04;
    const bool hasMaxLength = high & 0x02;
    const bool hasFont = high & 0x01;
    const bool hasFontClass = low & 0x80;
    const bool hasLayout = low & 0x20;
    if (hasFont)
        edit->fontId = r.u16();
    if (hasFontClass)
        r.cString();
    if (hasFont || hasFontClass)
        edit->fontHeight = r.u16();
    if (hasTextColor)
        edit->color = readRgba(r);
    if (hasMaxLength)
        edit->maxLength = r.u16();
    if (hasLayout) {
        edit->align = r.u8();
        edit->leftMargin = r.u16();
        edit->rightMargin = r.u16();
        edit->indent = r.u16();
        edit->leading = r.s16();
    }
    edit->variableName = r.cString();
    if (hasText)
        edit->initialText = r.cString();
    if (r.failed())
        return;
    const uint16_t id = edit->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const EditTextDef>(std::move(edit)));
}

} // namespace flash
