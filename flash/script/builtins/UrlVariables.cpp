#include "flash/script/builtins/UrlVariables.h"

#include "flash/io/HexDigit.h"

namespace flash::script {

namespace {

bool isAsciiAlphanumeric(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string decodeUrlComponent(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 && hexDigitValue(text[i + 2]) >= 0) {
            out += char(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> decodeUrlVariables(std::string_view text)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    while (!text.empty()) {
        const size_t end = text.find('&');
        const std::string_view part = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const size_t equals = part.find('=');
        std::string name = decodeUrlComponent(part.substr(0, equals));
        if (name.empty())
            continue;
        std::string value = equals == std::string_view::npos ? std::string() : decodeUrlComponent(part.substr(equals + 1));
        pairs.emplace_back(std::move(name), std::move(value));
    }
    return pairs;
}

std::string encodeUrlComponent(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (isAsciiAlphanumeric(c)) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

} // namespace flash::script
