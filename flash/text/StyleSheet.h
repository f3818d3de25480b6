// Cascading style sheets as text fields use them: a style per selector (a tag
// name such as "p", or a class such as ".note"), each a set of properties that
// become a text format when HTML is read.
#pragma once

#include "flash/text/TextFormat.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace flash::text {

class StyleSheet {
public:
    // Property names in script form ("fontFamily"), values as written.
    using Properties = std::vector<std::pair<std::string, std::string>>;
    using Rules = std::vector<std::pair<std::string, Properties>>;

    // Selector and properties of every rule; nullopt when the text is not a style sheet.
    [[nodiscard]] static std::optional<Rules> parseCss(std::string_view css);
    // "font-family" becomes "fontFamily".
    [[nodiscard]] static std::string scriptName(std::string_view cssName);
    [[nodiscard]] static TextFormat formatOf(const Properties& properties);

    void setStyle(std::string_view selector, const Properties& properties);
    // The style of a selector (case does not matter); null when there is none.
    [[nodiscard]] const TextFormat* styleFor(std::string_view selector) const;
    [[nodiscard]] bool isEmpty() const { return m_styles.empty(); }

private:
    std::map<std::string, TextFormat> m_styles;
};

} // namespace flash::text
