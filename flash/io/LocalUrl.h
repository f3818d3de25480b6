// Where a movie may read files: its own folder and below, never the network.
// A URL a script gives (relative, file:, or with a scheme) is resolved against
// the movie's folder; whatever would leave it is refused.
#pragma once

#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

namespace flash {

enum class UrlRefusal : uint8_t {
    NoFolder,      // the movie came from memory: it has no folder to read from
    Network,       // a scheme other than file: (http, https, rtmp, mailto, ...)
    OutsideFolder, // a path that leaves the movie's folder (.., an absolute path, a link out)
};

// The local file `url` names, seen from a movie in `movieFolder`. A query or
// fragment (`?...`, `#...`) is dropped, %XX escapes and backslashes are read as
// the file: scheme and Windows-made movies write them.
[[nodiscard]] std::expected<std::filesystem::path, UrlRefusal> resolveLocalUrl(const std::filesystem::path& movieFolder,
                                                                              std::string_view url);

// The file: URL of a local file, as _url shows it.
[[nodiscard]] std::string fileUrlOf(const std::filesystem::path& file);

} // namespace flash
