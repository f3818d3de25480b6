// Glyph lookup and advances for embedded and system faces.
#include "flash/text/FontFace.h"

#include <QString>
#include <algorithm>

namespace flash::text {
namespace {

constexpr size_t kMaxMeasuredCharacters = 1 << 16;

} // namespace

FontFace::FontFace(const FontDef& embedded) : m_embedded(&embedded)
{
    for (size_t i = 0; i < embedded.glyphs.size(); ++i)
        m_codes.emplace(embedded.glyphs[i].code, uint32_t(i));
    if (embedded.hasLayout && embedded.emSize > 0 && embedded.ascent + embedded.descent > 0) {
        m_ascent = std::clamp(embedded.ascent / embedded.emSize, 0.0, 4.0);
        m_descent = std::clamp(embedded.descent / embedded.emSize, 0.0, 4.0);
    }
}

FontFace::FontFace(QRawFont raw) : m_raw(std::move(raw))
{
    if (m_raw.isValid()) {
        m_ascent = m_raw.ascent() / kReferenceSize;
        m_descent = m_raw.descent() / kReferenceSize;
    }
}

std::optional<GlyphMetrics> FontFace::glyphFor(char32_t c) const
{
    if (m_embedded) {
        const auto it = m_codes.find(c);
        if (it == m_codes.end())
            return std::nullopt;
        const FontDef& font = *m_embedded;
        // Fonts without layout give no advances; their glyphs are spaced by a typical width.
        const double advance = font.hasLayout && font.emSize > 0 ? font.glyphs[it->second].advance / font.emSize : 0.6;
        return GlyphMetrics{it->second, advance};
    }
    if (const auto known = m_measured.find(c); known != m_measured.end())
        return known->second;
    std::optional<GlyphMetrics> measured;
    if (m_raw.isValid() && m_raw.supportsCharacter(uint(c))) {
        const char32_t chars[] = {c};
        const QList<quint32> glyphs = m_raw.glyphIndexesForString(QString::fromUcs4(chars, 1));
        if (glyphs.size() == 1 && glyphs[0] != 0) {
            const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
            measured = GlyphMetrics{glyphs[0], advances.value(0).x() / kReferenceSize};
        }
    }
    if (m_measured.size() < kMaxMeasuredCharacters)
        m_measured.emplace(c, measured);
    return measured;
}

} // namespace flash::text
