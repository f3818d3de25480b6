// Writes styled text as htmlText reads: each paragraph in its own <P> or <LI>,
// formats opened from the outside in (FONT, A, B, I, U) and closed as soon as
// a run no longer shares them.
#include "flash/text/HtmlText.h"

#include "flash/text/Utf.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace flash::text {
namespace {

std::string numberText(double value)
{
    if (!std::isfinite(value))
        return "0";
    char buffer[32];
    if (value == std::floor(value) && std::abs(value) < 1e15)
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    else
        std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

void appendEscaped(std::string& out, std::u32string_view text)
{
    for (char32_t c : text) {
        switch (c) {
        case U'<': out += "&lt;"; break;
        case U'>': out += "&gt;"; break;
        case U'&': out += "&amp;"; break;
        case U'"': out += "&quot;"; break;
        case U'\'': out += "&apos;"; break;
        default: appendUtf8(out, c);
        }
    }
}

std::string attributeText(std::string_view value)
{
    std::string out;
    appendEscaped(out, fromUtf8(value));
    return out;
}

const char* alignName(TextAlign align)
{
    switch (align) {
    case TextAlign::Right: return "RIGHT";
    case TextAlign::Center: return "CENTER";
    case TextAlign::Justify: return "JUSTIFY";
    case TextAlign::Left: break;
    }
    return "LEFT";
}

// The nested levels of formatting, outermost first; each knows when a run changes it.
enum Level { Font, Link, Bold, Italic, Underline, LevelCount };

bool sameAt(Level level, const TextFormat& a, const TextFormat& b)
{
    switch (level) {
    case Font:
        return a.font == b.font && a.size == b.size && a.color == b.color && a.letterSpacing == b.letterSpacing
            && a.kerning == b.kerning;
    case Link: return a.url == b.url && a.target == b.target;
    case Bold: return a.bold == b.bold;
    case Italic: return a.italic == b.italic;
    case Underline: return a.underline == b.underline;
    case LevelCount: break;
    }
    return true;
}

// The opening tag of `level` for `f`; empty when the level does not apply.
std::string openTag(Level level, const TextFormat& f)
{
    switch (level) {
    case Font: {
        char color[16];
        std::snprintf(color, sizeof color, "#%06X", f.color.value_or(0) & 0xFFFFFF);
        return "<FONT FACE=\"" + attributeText(f.font.value_or("")) + "\" SIZE=\"" + numberText(f.size.value_or(12))
             + "\" COLOR=\"" + color + "\" LETTERSPACING=\"" + numberText(f.letterSpacing.value_or(0))
             + "\" KERNING=\"" + (f.kerning.value_or(false) ? "1" : "0") + "\">";
    }
    case Link:
        if (f.url.value_or("").empty())
            return {};
        return "<A HREF=\"" + attributeText(*f.url) + "\" TARGET=\"" + attributeText(f.target.value_or("")) + "\">";
    case Bold: return f.bold.value_or(false) ? "<B>" : "";
    case Italic: return f.italic.value_or(false) ? "<I>" : "";
    case Underline: return f.underline.value_or(false) ? "<U>" : "";
    case LevelCount: break;
    }
    return {};
}

constexpr std::array<const char*, LevelCount> kCloseTags{"</FONT>", "</A>", "</B>", "</I>", "</U>"};

std::string textFormatAttributes(const TextFormat& f)
{
    std::string attributes;
    const auto number = [&](const char* name, const std::optional<double>& value) {
        if (value.value_or(0) != 0)
            attributes += std::string(" ") + name + "=\"" + numberText(*value) + "\"";
    };
    number("LEFTMARGIN", f.leftMargin);
    number("RIGHTMARGIN", f.rightMargin);
    number("INDENT", f.indent);
    number("BLOCKINDENT", f.blockIndent);
    number("LEADING", f.leading);
    if (f.tabStops && !f.tabStops->empty()) {
        std::string stops;
        for (double stop : *f.tabStops)
            stops += (stops.empty() ? "" : ",") + numberText(stop);
        attributes += " TABSTOPS=\"" + stops + "\"";
    }
    return attributes;
}

class HtmlWriter {
public:
    explicit HtmlWriter(const StyledText& text) : m_text(text) { }

    std::string write(const TextFormat& emptyFormat)
    {
        size_t start = 0;
        while (true) {
            const size_t end = m_text.paragraphEnd(start);
            const TextFormat* at = m_text.formatAt(start);
            paragraph(start, end, at ? *at : emptyFormat);
            if (end >= m_text.size())
                break;
            start = end + 1;
        }
        return std::move(m_out);
    }

private:
    void paragraph(size_t begin, size_t end, const TextFormat& format)
    {
        const std::string textFormat = textFormatAttributes(format);
        if (!textFormat.empty())
            m_out += "<TEXTFORMAT" + textFormat + ">";
        const bool bullet = format.bullet.value_or(false);
        m_out += bullet ? "<LI>" : std::string("<P ALIGN=\"") + alignName(format.align.value_or(TextAlign::Left)) + "\">";
        m_open = 0;
        // Paragraphs come in order, so the walk over the runs carries on from the last one.
        const auto& runs = m_text.runs();
        for (; m_run < runs.size(); ++m_run) {
            const size_t runEnd = m_runStart + runs[m_run].length;
            const size_t from = std::max(m_runStart, begin), to = std::min(runEnd, end);
            if (from < to)
                piece(runs[m_run].format, std::u32string_view(m_text.text()).substr(from, to - from));
            if (runEnd > end)
                break;
            m_runStart = runEnd;
        }
        if (m_open == 0)
            piece(format, {}); // an empty paragraph still says how it is formatted
        closeFrom(0);
        m_out += bullet ? "</LI>" : "</P>";
        if (!textFormat.empty())
            m_out += "</TEXTFORMAT>";
    }

    void piece(const TextFormat& format, std::u32string_view chars)
    {
        Level first = LevelCount;
        for (int level = 0; level < LevelCount; ++level) {
            if (m_open == 0 || !sameAt(Level(level), m_openFormat, format)) {
                first = Level(level);
                break;
            }
        }
        if (first != LevelCount) {
            closeFrom(first);
            for (int level = first; level < LevelCount; ++level) {
                const std::string tag = openTag(Level(level), format);
                m_opened[size_t(level)] = !tag.empty();
                m_out += tag;
            }
            m_openFormat = format;
            m_open = 1;
        }
        appendEscaped(m_out, chars);
    }

    void closeFrom(int first)
    {
        if (m_open == 0)
            return;
        for (int level = LevelCount; level-- > first;) {
            if (m_opened[size_t(level)])
                m_out += kCloseTags[size_t(level)];
            m_opened[size_t(level)] = false;
        }
        if (first == 0)
            m_open = 0;
    }

    const StyledText& m_text;
    std::string m_out;
    TextFormat m_openFormat;
    int m_open = 0; // whether any level is open in this paragraph
    size_t m_run = 0, m_runStart = 0;
    std::array<bool, LevelCount> m_opened{};
};

} // namespace

std::string writeHtml(const StyledText& text, const TextFormat& emptyFormat)
{
    return HtmlWriter(text).write(emptyFormat);
}

} // namespace flash::text
