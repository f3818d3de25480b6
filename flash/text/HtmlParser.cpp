// Reads the HTML subset: a stack of formats follows the open tags, and text
// is appended in the format on top.
#include "flash/text/HtmlText.h"

#include "flash/text/Utf.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace flash::text {
namespace {

constexpr size_t kMaxOpenTags = 128; // deeper tags still parse, but add no format
constexpr size_t kMaxEntityLength = 10;

bool isSpace(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r';
}

char32_t lower(char32_t c)
{
    return c >= U'A' && c <= U'Z' ? c + 32 : c;
}

std::string asciiLower(std::u32string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s)
        out.push_back(c < 0x80 ? char(lower(c)) : '?');
    return out;
}

std::optional<double> numberOf(const std::string& s)
{
    double value = 0;
    const char* begin = s.data();
    if (!s.empty() && s.front() == '+')
        ++begin;
    const auto [end, error] = std::from_chars(begin, s.data() + s.size(), value);
    if (error != std::errc() || end == begin)
        return std::nullopt;
    return value;
}

std::optional<uint32_t> colorOf(std::string s)
{
    if (!s.empty() && s.front() == '#')
        s.erase(0, 1);
    else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        s.erase(0, 2);
    uint32_t rgb = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), rgb, 16);
    if (error != std::errc() || end == s.data())
        return std::nullopt;
    return rgb & 0xFFFFFF;
}

std::optional<TextAlign> alignOf(const std::string& s)
{
    std::string v = asciiLower(fromUtf8(s));
    if (v == "left")
        return TextAlign::Left;
    if (v == "right")
        return TextAlign::Right;
    if (v == "center")
        return TextAlign::Center;
    if (v == "justify")
        return TextAlign::Justify;
    return std::nullopt;
}

std::vector<double> tabStopsOf(const std::string& s)
{
    std::vector<double> stops;
    size_t at = 0;
    while (at < s.size() && stops.size() < 64) {
        const size_t comma = std::min(s.find(',', at), s.size());
        if (const auto n = numberOf(s.substr(at, comma - at)))
            stops.push_back(*n);
        at = comma + 1;
    }
    return stops;
}

struct Tag {
    std::string name; // lower case
    bool closing = false;
    bool selfClosing = false;
    std::vector<std::pair<std::string, std::string>> attributes; // names lower case, values decoded (UTF-8)

    [[nodiscard]] const std::string* attribute(std::string_view wanted) const
    {
        for (const auto& [name, value] : attributes) {
            if (name == wanted)
                return &value;
        }
        return nullptr;
    }
};

class HtmlParser {
public:
    HtmlParser(std::u32string_view html, const TextFormat& base, const HtmlOptions& options)
        : m_html(html), m_options(options)
    {
        m_stack.push_back({"", base});
    }

    StyledText run()
    {
        while (m_at < m_html.size()) {
            if (m_html[m_at] == U'<' && startsTag())
                readTag();
            else
                readText();
        }
        flushText();
        return std::move(m_out);
    }

private:
    struct Open {
        std::string tag;
        TextFormat format;
    };

    [[nodiscard]] const TextFormat& current() const { return m_stack.back().format; }

    bool startsTag() const
    {
        if (m_at + 1 >= m_html.size())
            return false;
        const char32_t next = m_html[m_at + 1];
        return (next < 0x80 && std::isalpha(int(next))) || next == U'/' || next == U'!';
    }

    void readText()
    {
        const size_t start = m_at;
        while (m_at < m_html.size() && !(m_html[m_at] == U'<' && startsTag()))
            ++m_at;
        const std::u32string decoded = decodeEntities(m_html.substr(start, m_at - start));
        for (char32_t c : decoded) {
            if (m_options.condenseWhite) {
                if (isSpace(c)) {
                    m_spacePending = true;
                    continue;
                }
                if (m_spacePending && !atLineStart())
                    addChar(U' ');
                m_spacePending = false;
                addChar(c);
                continue;
            }
            // Line ends of every kind become the field's paragraph mark.
            if (c == U'\n' && m_lastWasReturn) {
                m_lastWasReturn = false;
                continue;
            }
            m_lastWasReturn = c == U'\r';
            addChar(c == U'\n' ? U'\r' : c);
        }
    }

    [[nodiscard]] bool atLineStart() const
    {
        return m_pending.empty() ? (m_out.isEmpty() || m_out.text().back() == U'\r') : m_pending.back() == U'\r';
    }

    void addChar(char32_t c)
    {
        if (m_breakPending) {
            m_breakPending = false;
            if (!atLineStart())
                m_pending.push_back(U'\r');
        }
        m_pending.push_back(c);
    }

    void flushText()
    {
        if (!m_pending.empty())
            m_out.append(m_pending, current());
        m_pending.clear();
    }

    void lineBreak()
    {
        m_breakPending = false;
        m_spacePending = false;
        m_pending.push_back(U'\r');
    }

    void readTag()
    {
        // Comments and declarations are skipped whole.
        if (m_html.substr(m_at, 4) == U"<!--") {
            const size_t end = m_html.find(U"-->", m_at + 4);
            m_at = end == std::u32string_view::npos ? m_html.size() : end + 3;
            return;
        }
        const size_t end = m_html.find(U'>', m_at);
        const std::u32string_view body = m_html.substr(m_at + 1, (end == std::u32string_view::npos ? m_html.size() : end) - m_at - 1);
        m_at = end == std::u32string_view::npos ? m_html.size() : end + 1;
        if (body.empty() || body.front() == U'!')
            return;
        const Tag tag = parseTag(body);
        flushText();
        if (tag.closing)
            close(tag.name);
        else
            open(tag);
    }

    static Tag parseTag(std::u32string_view body)
    {
        Tag tag;
        size_t at = 0;
        if (body.front() == U'/') {
            tag.closing = true;
            ++at;
        }
        if (!body.empty() && body.back() == U'/') {
            tag.selfClosing = true;
            body.remove_suffix(1);
        }
        const size_t nameEnd = std::min(body.find_first_of(U" \t\r\n/", at), body.size());
        tag.name = asciiLower(body.substr(at, nameEnd - at));
        at = nameEnd;
        while (at < body.size() && tag.attributes.size() < 32) {
            while (at < body.size() && (isSpace(body[at]) || body[at] == U'/'))
                ++at;
            const size_t nameStart = at;
            while (at < body.size() && body[at] != U'=' && !isSpace(body[at]))
                ++at;
            std::string name = asciiLower(body.substr(nameStart, at - nameStart));
            while (at < body.size() && isSpace(body[at]))
                ++at;
            std::u32string_view value;
            if (at < body.size() && body[at] == U'=') {
                ++at;
                while (at < body.size() && isSpace(body[at]))
                    ++at;
                if (at < body.size() && (body[at] == U'"' || body[at] == U'\'')) {
                    const char32_t quote = body[at++];
                    const size_t close = std::min(body.find(quote, at), body.size());
                    value = body.substr(at, close - at);
                    at = close + 1;
                } else {
                    const size_t valueStart = at;
                    while (at < body.size() && !isSpace(body[at]))
                        ++at;
                    value = body.substr(valueStart, at - valueStart);
                }
            }
            if (!name.empty())
                tag.attributes.emplace_back(std::move(name), toUtf8(decodeEntities(value)));
        }
        return tag;
    }

    void applyStyle(TextFormat& format, std::string_view selector) const
    {
        if (!m_options.styles)
            return;
        if (const TextFormat* style = m_options.styles->styleFor(selector))
            format.mergeFrom(*style);
    }

    void startParagraph()
    {
        if (!atLineStart())
            m_breakPending = true;
    }

    void open(const Tag& tag)
    {
        if (tag.name == "br" || tag.name == "sbr") {
            lineBreak();
            return;
        }
        if (tag.name == "img" || tag.selfClosing)
            return;
        TextFormat format = current();
        applyStyle(format, tag.name);
        if (tag.name == "p" || tag.name == "li") {
            startParagraph();
            if (tag.name == "li")
                format.bullet = true;
            if (const std::string* align = tag.attribute("align"))
                format.align = alignOf(*align).value_or(*format.align);
        } else if (tag.name == "b") {
            format.bold = true;
        } else if (tag.name == "i") {
            format.italic = true;
        } else if (tag.name == "u") {
            format.underline = true;
        } else if (tag.name == "a") {
            if (const std::string* href = tag.attribute("href"))
                format.url = *href;
            if (const std::string* target = tag.attribute("target"))
                format.target = *target;
        } else if (tag.name == "font") {
            readFont(tag, format);
        } else if (tag.name == "textformat") {
            readTextFormat(tag, format);
        }
        if (const std::string* styleClass = tag.attribute("class"))
            applyStyle(format, "." + *styleClass);
        if (m_stack.size() >= kMaxOpenTags) {
            ++m_unpushed;
            return;
        }
        m_stack.push_back({tag.name, std::move(format)});
    }

    static void readFont(const Tag& tag, TextFormat& format)
    {
        if (const std::string* face = tag.attribute("face"))
            format.font = *face;
        if (const std::string* size = tag.attribute("size")) {
            if (const auto n = numberOf(*size)) {
                const bool relative = !size->empty() && (size->front() == '+' || size->front() == '-');
                format.size = std::clamp(relative ? format.size.value_or(12) + *n : *n, 1.0, 10000.0);
            }
        }
        if (const std::string* color = tag.attribute("color")) {
            if (const auto rgb = colorOf(*color))
                format.color = *rgb;
        }
        if (const std::string* spacing = tag.attribute("letterspacing"))
            format.letterSpacing = numberOf(*spacing).value_or(*format.letterSpacing);
        if (const std::string* kerning = tag.attribute("kerning"))
            format.kerning = numberOf(*kerning).value_or(0) != 0;
    }

    static void readTextFormat(const Tag& tag, TextFormat& format)
    {
        const auto number = [&](const char* name, std::optional<double>& field) {
            if (const std::string* value = tag.attribute(name))
                field = numberOf(*value).value_or(field.value_or(0));
        };
        number("blockindent", format.blockIndent);
        number("indent", format.indent);
        number("leading", format.leading);
        number("leftmargin", format.leftMargin);
        number("rightmargin", format.rightMargin);
        if (const std::string* stops = tag.attribute("tabstops"))
            format.tabStops = tabStopsOf(*stops);
    }

    void close(const std::string& name)
    {
        if (m_unpushed > 0) {
            --m_unpushed;
            return;
        }
        if (name == "p" || name == "li")
            m_breakPending = true;
        // The innermost open tag of that name closes, with whatever was left open inside it.
        for (size_t i = m_stack.size(); i-- > 1;) {
            if (m_stack[i].tag == name) {
                m_stack.resize(i);
                return;
            }
        }
    }

    std::u32string_view m_html;
    const HtmlOptions& m_options;
    size_t m_at = 0;
    std::vector<Open> m_stack;
    size_t m_unpushed = 0;
    std::u32string m_pending; // text not yet appended, all in the current format
    StyledText m_out;
    bool m_breakPending = false; // a paragraph ended; the next text starts a new one
    bool m_spacePending = false;
    bool m_lastWasReturn = false;
};

std::optional<char32_t> namedEntity(std::u32string_view name)
{
    if (name == U"lt")
        return U'<';
    if (name == U"gt")
        return U'>';
    if (name == U"amp")
        return U'&';
    if (name == U"quot")
        return U'"';
    if (name == U"apos")
        return U'\'';
    if (name == U"nbsp")
        return char32_t(0xA0);
    if (name.size() > 1 && name.front() == U'#') {
        const bool hex = name.size() > 2 && (name[1] == U'x' || name[1] == U'X');
        uint32_t value = 0;
        for (char32_t c : name.substr(hex ? 2 : 1)) {
            const int digit = c >= U'0' && c <= U'9' ? int(c - U'0')
                            : hex && lower(c) >= U'a' && lower(c) <= U'f' ? int(lower(c) - U'a' + 10) : -1;
            if (digit < 0)
                return std::nullopt;
            value = value * (hex ? 16 : 10) + uint32_t(digit);
        }
        if (value == 0 || value > 0x10FFFF)
            return std::nullopt;
        return char32_t(value);
    }
    return std::nullopt;
}

} // namespace

std::u32string decodeEntities(std::u32string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'&') {
            const size_t semicolon = text.find(U';', i + 1);
            if (semicolon != std::u32string_view::npos && semicolon - i - 1 <= kMaxEntityLength) {
                if (const auto c = namedEntity(text.substr(i + 1, semicolon - i - 1))) {
                    out.push_back(*c);
                    i = semicolon;
                    continue;
                }
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

StyledText parseHtml(std::string_view html, const TextFormat& base, const HtmlOptions& options)
{
    const std::u32string chars = fromUtf8(html);
    return HtmlParser(chars, base, options).run();
}

} // namespace flash::text
