// Lays out static text records: glyph outlines scaled to the record's height
// and placed along the baseline by their advances.
#include "flash/render/TextOutline.h"

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
        QPainterPath runPath;
        runPath.setFillRule(Qt::OddEvenFill);
        double x = record.x;
        for (const TextGlyph& glyph : record.glyphs) {
            if (glyph.index < font->glyphs.size()) {
                auto key = std::make_pair(font.get(), glyph.index);
                auto it = glyphCache.find(key);
                if (it == glyphCache.end())
                    it = glyphCache.emplace(key, buildGlyphOutline(font->glyphs[glyph.index].paths)).first;
                if (!it->second.isEmpty())
                    runPath.addPath(QTransform(scale, 0, 0, scale, x, record.y).map(it->second));
            }
            x += glyph.advance;
        }
        if (!runPath.isEmpty() && std::isfinite(x))
            outline.runs.push_back({std::move(runPath), record.color});
    }
    return outline;
}

size_t TextOutline::cost() const
{
    size_t total = sizeof(TextOutline);
    for (const Run& run : runs)
        total += sizeof(Run) + size_t(run.path.elementCount()) * sizeof(QPainterPath::Element);
    return total;
}

} // namespace flash
