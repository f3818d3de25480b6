// One face text is measured and drawn with: the glyphs a movie embeds, or a
// font of the system. Metrics are per pixel of font size, so one face serves
// every size.
#pragma once

#include "flash/model/FontDef.h"

#include <QRawFont>
#include <optional>
#include <unordered_map>

namespace flash::text {

struct GlyphMetrics {
    uint32_t glyph = 0;  // the embedded font's glyph index, or the system font's glyph id
    double advance = 0;  // pixels per pixel of font size
};

class FontFace {
public:
    // The glyphs of an embedded font.
    explicit FontFace(const FontDef& embedded);
    // A system font; `raw` is loaded at kReferenceSize pixels.
    explicit FontFace(QRawFont raw);

    static constexpr double kReferenceSize = 256;

    [[nodiscard]] const FontDef* embedded() const { return m_embedded; }
    [[nodiscard]] const QRawFont& device() const { return m_raw; }
    // Nothing when the face has no glyph for `c`.
    [[nodiscard]] std::optional<GlyphMetrics> glyphFor(char32_t c) const;
    [[nodiscard]] double ascent() const { return m_ascent; }
    [[nodiscard]] double descent() const { return m_descent; }

private:
    const FontDef* m_embedded = nullptr;
    QRawFont m_raw;
    double m_ascent = 0.8, m_descent = 0.2;
    std::unordered_map<char32_t, uint32_t> m_codes; // embedded: character -> glyph index
    mutable std::unordered_map<char32_t, std::optional<GlyphMetrics>> m_measured; // system: measured once
};

} // namespace flash::text
