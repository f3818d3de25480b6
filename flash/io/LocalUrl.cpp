// Paths are compared after resolving links, so that a link inside the folder
// cannot lead a movie outside it.
#include "flash/io/LocalUrl.h"
#include "flash/io/HexDigit.h"

#include <cctype>

namespace flash {

namespace {

std::string percentDecoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = hexDigitValue(text[i + 1]), low = hexDigitValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(char(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

// The scheme of `url` ("http" of "http://..."), empty without one. A single
// letter before the colon is a Windows drive, not a scheme.
std::string_view schemeOf(std::string_view url)
{
    const size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon < 2)
        return {};
    for (size_t i = 0; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(url[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return {};
    }
    return url.substr(0, colon);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool isWithin(const std::filesystem::path& path, const std::filesystem::path& folder)
{
    const std::filesystem::path relative = path.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

} // namespace

std::expected<std::filesystem::path, UrlRefusal> resolveLocalUrl(const std::filesystem::path& movieFolder,
                                                                 std::string_view url)
{
    if (movieFolder.empty())
        return std::unexpected(UrlRefusal::NoFolder);
    url = url.substr(0, url.find_first_of("?#"));
    const std::string_view scheme = schemeOf(url);
    if (!scheme.empty()) {
        if (!equalsIgnoringCase(scheme, "file"))
            return std::unexpected(UrlRefusal::Network);
        url.remove_prefix(scheme.size() + 1);
        // file:///path and file://localhost/path; file:/path as some tools write it.
        if (url.starts_with("//")) {
            url.remove_prefix(2);
            const size_t slash = url.find('/');
            const std::string_view host = url.substr(0, slash);
            if (!host.empty() && !equalsIgnoringCase(host, "localhost"))
                return std::unexpected(UrlRefusal::Network);
            url = slash == std::string_view::npos ? std::string_view{} : url.substr(slash);
        }
    }
    std::string path = percentDecoded(url);
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    if (path.empty() || path.find('\0') != std::string::npos)
        return std::unexpected(UrlRefusal::OutsideFolder);
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::weakly_canonical(movieFolder, error);
    if (error)
        return std::unexpected(UrlRefusal::NoFolder);
    const std::filesystem::path named(path);
    const std::filesystem::path joined = named.is_absolute() ? named : folder / named;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(joined.lexically_normal(), error);
    if (error || !isWithin(resolved, folder))
        return std::unexpected(UrlRefusal::OutsideFolder);
    return resolved;
}

std::string fileUrlOf(const std::filesystem::path& file)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : file.generic_string()) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::string_view("/-._~").find(c) != std::string_view::npos) {
            url.push_back(c);
        } else {
            url.push_back('%');
            url.push_back(kHex[byte >> 4]);
            url.push_back(kHex[byte & 15]);
        }
    }
    return url;
}

} // namespace flash
