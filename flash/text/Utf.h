// Text as scripts hold it (UTF-8 bytes) and as fields hold it (one element per character).
#pragma once

#include <string>
#include <string_view>

namespace flash::text {

// Bytes that are not UTF-8 count as one character each (as Latin-1), so nothing is lost.
[[nodiscard]] std::u32string fromUtf8(std::string_view bytes);
[[nodiscard]] std::string toUtf8(std::u32string_view chars);
void appendUtf8(std::string& out, char32_t c);

} // namespace flash::text
