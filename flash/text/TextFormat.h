// The formatting of characters and paragraphs in a text field. Every field is
// optional: a format handed around by scripts sets only some of them, and a
// range with mixed values reads back with those left unset.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace flash::text {

enum class TextAlign : uint8_t { Left, Right, Center, Justify };

struct TextFormat {
    // Character formatting.
    std::optional<std::string> font;
    std::optional<double> size;      // pixels
    std::optional<uint32_t> color;   // 0xRRGGBB
    std::optional<bool> bold, italic, underline;
    std::optional<std::string> url, target;
    std::optional<double> letterSpacing;
    std::optional<bool> kerning;
    // Paragraph formatting: the first character of a paragraph decides it.
    std::optional<TextAlign> align;
    std::optional<double> leftMargin, rightMargin, indent, blockIndent, leading;
    std::optional<bool> bullet;
    std::optional<std::vector<double>> tabStops;

    // What a new field starts with.
    [[nodiscard]] static TextFormat defaults();

    // The fields `other` sets replace these.
    void mergeFrom(const TextFormat& other);
    // Only the fields both set to the same value.
    [[nodiscard]] TextFormat commonWith(const TextFormat& other) const;
    // The paragraph fields alone, or the character fields alone.
    [[nodiscard]] TextFormat paragraphPart() const;
    [[nodiscard]] TextFormat characterPart() const;
    [[nodiscard]] bool hasParagraphFields() const;

    friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

// Every field of TextFormat, for code that treats them alike.
inline constexpr auto kCharacterFields = std::make_tuple(
    &TextFormat::font, &TextFormat::size, &TextFormat::color, &TextFormat::bold, &TextFormat::italic,
    &TextFormat::underline, &TextFormat::url, &TextFormat::target, &TextFormat::letterSpacing, &TextFormat::kerning);
inline constexpr auto kParagraphFields = std::make_tuple(
    &TextFormat::align, &TextFormat::leftMargin, &TextFormat::rightMargin, &TextFormat::indent,
    &TextFormat::blockIndent, &TextFormat::leading, &TextFormat::bullet, &TextFormat::tabStops);

} // namespace flash::text
