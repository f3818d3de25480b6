// The HTML subset of text fields: reading it into styled text, and writing
// styled text back the way htmlText reads.
#pragma once

#include "flash/text/StyleSheet.h"
#include "flash/text/StyledText.h"

#include <string>
#include <string_view>

namespace flash::text {

struct HtmlOptions {
    const StyleSheet* styles = nullptr; // styles for tags and classes, when the field has a sheet
    bool condenseWhite = false;         // runs of white space become one space; only tags break lines
};

// `base` (a complete format) is what text outside every tag gets. Unknown tags
// are skipped with their text kept; nesting deeper than a fixed bound adds no
// more formats. Time and memory grow linearly with the input.
[[nodiscard]] StyledText parseHtml(std::string_view html, const TextFormat& base, const HtmlOptions& options = {});

// One <P> (or <LI>) per paragraph, in a <TEXTFORMAT> when its paragraph
// settings are not the plain ones, with <FONT>, <A>, <B>, <I>, <U> inside.
// `emptyFormat` is used for an empty field.
[[nodiscard]] std::string writeHtml(const StyledText& text, const TextFormat& emptyFormat);

// &lt; &gt; &amp; &quot; &apos; &nbsp; and numeric references in `text`.
[[nodiscard]] std::u32string decodeEntities(std::u32string_view text);

} // namespace flash::text
