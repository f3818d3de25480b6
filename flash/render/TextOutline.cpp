// Lays out static text records: glyph outlines scaled to the record's height
// and placed along the baseline by their advances.
#include "flash/render/TextOutline.h"

#include "flash/render/PathPieces.h"
#include "flash/render/ShapeOutline.h"

#include <QTransform>
#include <cmath>
#include <map>
#include <utility>

namespace flash {

TextOutline buildTextOutline(const TextDef& text, const Movie& movie)
{
    TextOutline outline;
    std::map<std::pair<const FontDef*, uint32_t>, QPainterPath> glyphCache;
    for (const TextRecord& record : text.records) {
        const auto font = movie.find<FontDef>(record.fontId);
        if (!font || !(font->emSize > 0) || record.glyphs.empty())
            continue;
        const double scale = record.height / font->emSize;
        TextOutline::Run run{{}, record.color, {}};
        run.path.setFillRule(Qt::OddEvenFill);
        double x = record.x;
        int placed = 0;
        for (const TextGlyph& glyph : record.glyphs) {
            if (glyph.index < font->glyphs.size()) {
                auto key = std::make_pair(font.get(), glyph.index);
                auto it = glyphCache.find(key);
                if (it == glyphCache.end())
                    it = glyphCache.emplace(key, buildGlyphOutline(font->glyphs[glyph.index].paths)).first;
                if (!it->second.isEmpty()) {
                    const QPainterPath shape = QTransform(scale, 0, 0, scale, x, record.y).map(it->second);
                    run.path.addPath(shape);
                    if (placed++ % kOutlinesPerPiece == 0) {
                        run.pieces.emplace_back();
                        run.pieces.back().setFillRule(Qt::OddEvenFill);
                    }
                    run.pieces.back().addPath(shape);
                }
            }
            x += glyph.advance;
        }
        if (!run.path.isEmpty() && std::isfinite(x))
            outline.runs.push_back(std::move(run));
    }
    return outline;
}

size_t TextOutline::cost() const
{
    size_t total = sizeof(TextOutline);
    for (const Run& run : runs)
        total += sizeof(Run) + 2 * size_t(run.path.elementCount()) * sizeof(QPainterPath::Element); // and its pieces
    return total;
}

} // namespace flash
