// A field's characters with their formats: the text as characters (one element
// per character, as scripts count them) and runs of equal formatting covering it.
// Paragraphs end at '\r'; a paragraph's formatting is that of its first character.
#pragma once

#include "flash/text/TextFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace flash::text {

class StyledText {
public:
    struct Run {
        size_t length = 0;
        TextFormat format; // every field set
    };

    [[nodiscard]] const std::u32string& text() const { return m_text; }
    [[nodiscard]] size_t size() const { return m_text.size(); }
    [[nodiscard]] bool isEmpty() const { return m_text.empty(); }
    [[nodiscard]] const std::vector<Run>& runs() const { return m_runs; }

    // The format of character `index`; past the end, the last character's; null when empty.
    [[nodiscard]] const TextFormat* formatAt(size_t index) const;
    // The fields every character of [begin, end) shares (the one at begin when the range is empty).
    [[nodiscard]] TextFormat commonFormat(size_t begin, size_t end) const;

    // Replaces [begin, end) with `inserted` in `format` (a complete format); positions are clamped.
    void replace(size_t begin, size_t end, std::u32string_view inserted, const TextFormat& format);
    void append(std::u32string_view more, const TextFormat& format) { replace(size(), size(), more, format); }
    void clear();
    // Character fields of `format` go to [begin, end); paragraph fields to every paragraph it touches.
    void applyFormat(size_t begin, size_t end, const TextFormat& format);

    [[nodiscard]] size_t paragraphStart(size_t index) const;
    [[nodiscard]] size_t paragraphEnd(size_t index) const; // the '\r' ending it, or size()

private:
    // Splits the run containing `position` there; returns the index of the run starting at it.
    size_t splitAt(size_t position);
    void mergeEqualNeighbours();
    void applyToRange(size_t begin, size_t end, const TextFormat& format);

    std::u32string m_text;
    std::vector<Run> m_runs;
};

} // namespace flash::text
