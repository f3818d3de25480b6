// Merging and comparing formats field by field.
#include "flash/text/TextFormat.h"

namespace flash::text {
namespace {

template<typename Fields, typename Visit>
void forEach(const Fields& fields, Visit&& visit)
{
    std::apply([&](auto... field) { (visit(field), ...); }, fields);
}

template<typename Visit>
void forEveryField(Visit&& visit)
{
    forEach(kCharacterFields, visit);
    forEach(kParagraphFields, visit);
}

} // namespace

TextFormat TextFormat::defaults()
{
    TextFormat f;
    f.font = "Times New Roman";
    f.size = 12;
    f.color = 0x000000;
    f.bold = f.italic = f.underline = false;
    f.url = f.target = "";
    f.letterSpacing = 0;
    f.kerning = false;
    f.align = TextAlign::Left;
    f.leftMargin = f.rightMargin = f.indent = f.blockIndent = f.leading = 0;
    f.bullet = false;
    f.tabStops = std::vector<double>{};
    return f;
}

void TextFormat::mergeFrom(const TextFormat& other)
{
    forEveryField([&](auto field) {
        if (other.*field)
            this->*field = other.*field;
    });
}

TextFormat TextFormat::commonWith(const TextFormat& other) const
{
    TextFormat common;
    forEveryField([&](auto field) {
        if (this->*field == other.*field)
            common.*field = this->*field;
    });
    return common;
}

TextFormat TextFormat::paragraphPart() const
{
    TextFormat part;
    forEach(kParagraphFields, [&](auto field) { part.*field = this->*field; });
    return part;
}

TextFormat TextFormat::characterPart() const
{
    TextFormat part;
    forEach(kCharacterFields, [&](auto field) { part.*field = this->*field; });
    return part;
}

bool TextFormat::hasParagraphFields() const
{
    bool any = false;
    forEach(kParagraphFields, [&](auto field) { any = any || (this->*field).has_value(); });
    return any;
}

} // namespace flash::text
