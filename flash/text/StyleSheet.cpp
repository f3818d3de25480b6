// Reading CSS rules and turning their properties into formats.
#include "flash/text/StyleSheet.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace flash::text {
namespace {

constexpr size_t kMaxRules = 10'000;

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(uint8_t(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(uint8_t(s.back())))
        s.remove_suffix(1);
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        s = s.substr(1, s.size() - 2);
    return s;
}

std::string lowered(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

// "12px", "12pt", "12": the number in front.
std::optional<double> numberIn(std::string_view value)
{
    value = trimmed(value);
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end == value.data())
        return std::nullopt;
    return number;
}

std::optional<uint32_t> colorIn(std::string_view value)
{
    value = trimmed(value);
    if (!value.empty() && value.front() == '#')
        value.remove_prefix(1);
    uint32_t rgb = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), rgb, 16);
    if (error != std::errc() || end == value.data())
        return std::nullopt;
    return rgb & 0xFFFFFF;
}

} // namespace

std::string StyleSheet::scriptName(std::string_view cssName)
{
    std::string name;
    bool upper = false;
    for (char c : trimmed(cssName)) {
        if (c == '-') {
            upper = true;
            continue;
        }
        name.push_back(upper ? char(std::toupper(uint8_t(c))) : c);
        upper = false;
    }
    return name;
}

std::optional<StyleSheet::Rules> StyleSheet::parseCss(std::string_view css)
{
    Rules rules;
    size_t at = 0;
    while (at < css.size() && rules.size() < kMaxRules) {
        const size_t open = css.find('{', at);
        if (open == std::string_view::npos) {
            if (!trimmed(css.substr(at)).empty())
                return std::nullopt;
            break;
        }
        const size_t close = css.find('}', open);
        if (close == std::string_view::npos)
            return std::nullopt;
        Properties properties;
        std::string_view body = css.substr(open + 1, close - open - 1);
        while (!body.empty()) {
            const size_t end = std::min(body.find(';'), body.size());
            const std::string_view declaration = body.substr(0, end);
            body.remove_prefix(std::min(end + 1, body.size()));
            const size_t colon = declaration.find(':');
            if (colon == std::string_view::npos)
                continue;
            properties.emplace_back(scriptName(declaration.substr(0, colon)), std::string(trimmed(declaration.substr(colon + 1))));
        }
        // "h1, h2 { ... }" gives each selector the same properties.
        std::string_view selectors = css.substr(at, open - at);
        while (!selectors.empty()) {
            const size_t comma = std::min(selectors.find(','), selectors.size());
            const std::string_view selector = trimmed(selectors.substr(0, comma));
            selectors.remove_prefix(std::min(comma + 1, selectors.size()));
            if (!selector.empty())
                rules.emplace_back(std::string(selector), properties);
        }
        at = close + 1;
    }
    return rules;
}

TextFormat StyleSheet::formatOf(const Properties& properties)
{
    TextFormat f;
    for (const auto& [name, value] : properties) {
        const std::string v = lowered(trimmed(value));
        if (name == "color")
            f.color = colorIn(v);
        else if (name == "fontFamily")
            f.font = std::string(trimmed(value));
        else if (name == "fontSize")
            f.size = numberIn(v);
        else if (name == "fontWeight")
            f.bold = v == "bold";
        else if (name == "fontStyle")
            f.italic = v == "italic";
        else if (name == "textDecoration")
            f.underline = v == "underline";
        else if (name == "textAlign")
            f.align = v == "right" ? TextAlign::Right : v == "center" ? TextAlign::Center
                    : v == "justify" ? TextAlign::Justify : TextAlign::Left;
        else if (name == "marginLeft")
            f.leftMargin = numberIn(v);
        else if (name == "marginRight")
            f.rightMargin = numberIn(v);
        else if (name == "textIndent")
            f.indent = numberIn(v);
        else if (name == "leading")
            f.leading = numberIn(v);
        else if (name == "letterSpacing")
            f.letterSpacing = numberIn(v);
        else if (name == "kerning")
            f.kerning = v == "true";
    }
    return f;
}

void StyleSheet::setStyle(std::string_view selector, const Properties& properties)
{
    m_styles[lowered(selector)] = formatOf(properties);
}

const TextFormat* StyleSheet::styleFor(std::string_view selector) const
{
    const auto it = m_styles.find(lowered(selector));
    return it == m_styles.end() ? nullptr : &it->second;
}

} // namespace flash::text
