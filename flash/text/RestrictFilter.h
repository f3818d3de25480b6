// Which characters an input field accepts: "A-Z 0-9" lists them, "^" switches
// to listing characters refused ("a-z^q" is every lower-case letter but q),
// and a backslash takes the next character literally.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace flash::text {

class RestrictFilter {
public:
    RestrictFilter() = default; // accepts everything
    explicit RestrictFilter(std::u32string_view pattern);

    [[nodiscard]] bool accepts(char32_t c) const;

private:
    struct Range {
        char32_t from = 0, to = 0;
        bool allowed = true;
    };
    bool m_anyByDefault = true;
    std::vector<Range> m_ranges;
};

} // namespace flash::text
