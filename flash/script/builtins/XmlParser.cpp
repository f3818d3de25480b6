#include "flash/script/builtins/XmlParser.h"

#include "flash/script/Conversions.h"

#include <optional>
#include <vector>

namespace flash::script {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Names run to the next character that ends them; the runtime asks nothing more of a name.
bool endsName(char c) { return isSpace(c) || c == '/' || c == '>' || c == '<' || c == '=' || c == '"' || c == '\''; }

bool startsWithFolded(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsFolded(text.substr(0, prefix.size()), prefix);
}

// The longest entity worth looking at: "&#x10FFFF;" and a little room.
constexpr size_t kMaxEntityLength = 12;

std::optional<uint32_t> codePointOf(std::string_view digits, int base)
{
    if (digits.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
    }
    const bool valid = value >= 1 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
    return valid ? std::optional<uint32_t>(uint32_t(value)) : std::nullopt;
}

// The text an entity's body ("lt", "#60", "#x3C") stands for, if it is one the runtime knows.
std::optional<std::string> entityText(std::string_view body, XmlCharset charset)
{
    if (body == "lt")
        return "<";
    if (body == "gt")
        return ">";
    if (body == "amp")
        return "&";
    if (body == "quot")
        return "\"";
    if (body == "apos")
        return "'";
    if (body.size() < 2 || body[0] != '#')
        return std::nullopt;
    const bool hex = body[1] == 'x' || body[1] == 'X';
    const std::optional<uint32_t> cp = codePointOf(body.substr(hex ? 2 : 1), hex ? 16 : 10);
    if (!cp || (charset == XmlCharset::Latin1 && *cp > 0xFF))
        return std::nullopt;
    return encodeCharacter(*cp, charset == XmlCharset::Utf8 ? 6 : 5);
}

class Parser {
public:
    Parser(std::string_view source, XmlSink& sink, const XmlParseOptions& options)
        : m_source(source), m_sink(sink), m_options(options) { }

    XmlStatus run()
    {
        while (m_pos < m_source.size()) {
            if (m_source[m_pos] == '<') {
                if (const XmlStatus status = markup(); status != XmlStatus::Ok)
                    return status;
                continue;
            }
            const size_t end = std::min(m_source.find('<', m_pos), m_source.size());
            if (!countItem())
                return XmlStatus::OutOfMemory;
            m_sink.text(decodeXmlEntities(m_source.substr(m_pos, end - m_pos), m_options.charset), XmlTextKind::Parsed);
            m_pos = end;
        }
        return m_open.empty() ? XmlStatus::Ok : XmlStatus::StartWithoutEnd;
    }

private:
    [[nodiscard]] bool at(std::string_view prefix) const { return m_source.substr(m_pos).starts_with(prefix); }
    [[nodiscard]] bool atEnd() const { return m_pos >= m_source.size(); }
    bool countItem() { return ++m_items <= m_options.maxItems; }

    void skipSpace()
    {
        while (!atEnd() && isSpace(m_source[m_pos]))
            ++m_pos;
    }

    std::string_view name()
    {
        const size_t start = m_pos;
        while (!atEnd() && !endsName(m_source[m_pos]))
            ++m_pos;
        return m_source.substr(start, m_pos - start);
    }

    // Skips past `terminator`, searched from `from`; false when it never comes.
    bool skipPast(std::string_view terminator, size_t from)
    {
        const size_t end = m_source.find(terminator, from);
        if (end == std::string_view::npos)
            return false;
        m_pos = end + terminator.size();
        return true;
    }

    XmlStatus markup()
    {
        const size_t start = m_pos;
        if (at("<!--"))
            return skipPast("-->", start + 4) ? XmlStatus::Ok : XmlStatus::CommentNotTerminated;
        if (at("<![CDATA[")) {
            if (!skipPast("]]>", start + 9))
                return XmlStatus::CdataNotTerminated;
            if (!countItem())
                return XmlStatus::OutOfMemory;
            m_sink.text(std::string(m_source.substr(start + 9, m_pos - 3 - (start + 9))), XmlTextKind::Cdata);
            return XmlStatus::Ok;
        }
        if (at("<!"))
            return declarationBlock();
        if (at("<?")) {
            if (!skipPast("?>", start + 2))
                return XmlStatus::DeclarationNotTerminated;
            // Processing instructions other than the XML declaration carry nothing for scripts.
            const std::string_view whole = m_source.substr(start, m_pos - start);
            if (startsWithFolded(whole, "<?xml") && (isSpace(whole[5]) || whole[5] == '?'))
                m_sink.declaration(whole);
            return XmlStatus::Ok;
        }
        if (at("</"))
            return endTag();
        return startTag();
    }

    // "<!DOCTYPE ...>", whose internal subset in brackets may hold '>' of its own.
    XmlStatus declarationBlock()
    {
        const size_t start = m_pos;
        int depth = 0;
        for (size_t i = start + 2; i < m_source.size(); ++i) {
            const char c = m_source[i];
            if (c == '[') {
                ++depth;
            } else if (c == ']' && depth > 0) {
                --depth;
            } else if (c == '>' && depth == 0) {
                m_pos = i + 1;
                const std::string_view whole = m_source.substr(start, m_pos - start);
                if (startsWithFolded(whole, "<!DOCTYPE"))
                    m_sink.docType(whole);
                return XmlStatus::Ok;
            }
        }
        return XmlStatus::DoctypeNotTerminated;
    }

    XmlStatus endTag()
    {
        m_pos += 2;
        const std::string_view tag = name();
        skipSpace();
        if (tag.empty() || atEnd() || m_source[m_pos] != '>')
            return XmlStatus::MalformedElement;
        ++m_pos;
        if (m_open.empty() || m_open.back() != tag)
            return XmlStatus::EndWithoutStart;
        m_open.pop_back();
        m_sink.endElement();
        return XmlStatus::Ok;
    }

    XmlStatus startTag()
    {
        ++m_pos;
        const std::string_view tag = name();
        if (tag.empty())
            return XmlStatus::MalformedElement;
        m_attributes.clear();
        for (;;) {
            skipSpace();
            if (atEnd())
                return XmlStatus::MalformedElement;
            const char c = m_source[m_pos];
            if (c == '>' || c == '/') {
                const bool empty = c == '/';
                if (empty && !at("/>"))
                    return XmlStatus::MalformedElement;
                m_pos += empty ? 2 : 1;
                return openElement(tag, empty);
            }
            if (const XmlStatus status = attribute(); status != XmlStatus::Ok)
                return status;
        }
    }

    XmlStatus attribute()
    {
        const std::string_view attributeName = name();
        if (attributeName.empty())
            return XmlStatus::MalformedElement;
        skipSpace();
        if (atEnd() || m_source[m_pos] != '=')
            return XmlStatus::MalformedElement;
        ++m_pos;
        skipSpace();
        if (atEnd() || (m_source[m_pos] != '"' && m_source[m_pos] != '\''))
            return XmlStatus::MalformedElement;
        const size_t close = m_source.find(m_source[m_pos], m_pos + 1);
        if (close == std::string_view::npos)
            return XmlStatus::AttributeNotTerminated;
        if (!countItem())
            return XmlStatus::OutOfMemory;
        m_attributes.push_back({ attributeName, decodeXmlEntities(m_source.substr(m_pos + 1, close - m_pos - 1), m_options.charset) });
        m_pos = close + 1;
        return XmlStatus::Ok;
    }

    XmlStatus openElement(std::string_view tag, bool empty)
    {
        if (m_open.size() >= m_options.maxDepth || !countItem())
            return XmlStatus::OutOfMemory;
        m_sink.startElement(tag, m_attributes);
        if (empty)
            m_sink.endElement();
        else
            m_open.push_back(tag);
        return XmlStatus::Ok;
    }

    std::string_view m_source;
    XmlSink& m_sink;
    const XmlParseOptions& m_options;
    size_t m_pos = 0;
    uint32_t m_items = 0;
    std::vector<std::string_view> m_open;
    std::vector<XmlAttribute> m_attributes;
};

} // namespace

XmlStatus parseXml(std::string_view source, XmlSink& sink, const XmlParseOptions& options)
{
    return Parser(source, sink, options).run();
}

std::string decodeXmlEntities(std::string_view text, XmlCharset charset)
{
    size_t amp = text.find('&');
    if (amp == std::string_view::npos)
        return std::string(text);
    std::string out(text.substr(0, amp));
    out.reserve(text.size());
    for (size_t i = amp; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const size_t semicolon = text.substr(i + 1, kMaxEntityLength).find(';');
        if (semicolon != std::string_view::npos) {
            if (std::optional<std::string> decoded = entityText(text.substr(i + 1, semicolon), charset)) {
                out += *decoded;
                i += semicolon + 1;
                continue;
            }
        }
        out += '&';
    }
    return out;
}

void appendXmlEscaped(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c; break;
        }
    }
}

} // namespace flash::script
