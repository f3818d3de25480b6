// The query-string form variables travel in ("a=1&b=x%20y"): read into
// name/value pairs and written back, byte for byte (the text's encoding is
// the caller's business).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace flash::script {

// "a=1&b=x+y%21" -> {a, 1}, {b, "x y!"}. '+' is a space and %XX a byte (a '%'
// without two hex digits stays as it is); a part without '=' is a name with an
// empty value, and parts with an empty name are skipped. Pairs come in text order.
[[nodiscard]] std::vector<std::pair<std::string, std::string>> decodeUrlVariables(std::string_view text);

// One name or value as a query string carries it.
[[nodiscard]] std::string decodeUrlComponent(std::string_view text);

// Every byte but ASCII letters and digits as %XX (upper-case hex), as escape() writes it.
[[nodiscard]] std::string encodeUrlComponent(std::string_view text);

} // namespace flash::script
