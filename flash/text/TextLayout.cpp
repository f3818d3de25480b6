// Breaks paragraphs into lines (at spaces, hyphens and between Chinese
// characters when the field wraps), then places each line by its alignment.
#include "flash/text/TextLayout.h"

#include <algorithm>
#include <cmath>

namespace flash::text {
namespace {

constexpr double kDefaultTabStop = 36;
constexpr char32_t kBullet = 0x2022;

bool isSpace(char32_t c)
{
    return c == U' ' || c == U'\t' || c == 0x3000;
}

bool isIdeographic(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x2FFFF);
}

double positive(const std::optional<double>& v)
{
    return std::isfinite(v.value_or(0)) ? std::clamp(*v, 0.0, 1e5) : 0;
}

// One character ready to be placed.
struct Item {
    char32_t c = 0;
    const TextFormat* format = nullptr;
    const FontFace* face = nullptr;  // the face that draws it (a fallback for missing characters); null: not drawn
    const FontFace* metrics = nullptr; // the face its format names, which sets the line's height
    uint32_t glyph = 0;
    double advance = 0;
};

// A line before alignment: its items and where its paragraph puts it.
struct PendingLine {
    size_t firstItem = 0, endItem = 0;
    LayoutLine line;
    TextAlign align = TextAlign::Left;
    double room = 0;          // width the line may fill
    bool lastOfParagraph = false;
};

class Layouter {
public:
    Layouter(const StyledText& text, const TextFormat& emptyFormat, const LayoutOptions& options, FontLibrary& fonts)
        : m_text(text), m_emptyFormat(emptyFormat), m_options(options), m_fonts(fonts)
    {
    }

    TextLayout run()
    {
        const size_t shown = std::min(m_text.size(), kMaxLaidOutCharacters);
        size_t start = 0;
        size_t runIndex = 0, runStart = 0;
        while (true) {
            const size_t end = std::min(m_text.paragraphEnd(start), shown);
            paragraph(start, end, runIndex, runStart);
            if (end >= shown)
                break;
            start = end + 1;
        }
        finish();
        return std::move(m_layout);
    }

private:
    const FontFace* faceOf(const TextFormat& f)
    {
        const std::string& font = *f.font;
        return m_options.embedFonts ? m_fonts.embeddedFace(font, *f.bold, *f.italic)
                                    : m_fonts.deviceFace(font, *f.bold, *f.italic);
    }

    Item itemFor(char32_t c, const TextFormat& format)
    {
        Item item{c, &format, nullptr, faceOf(format)};
        const double size = positive(format.size);
        const char32_t shown = m_options.password ? U'*' : c;
        if (shown == U'\t' || shown < 0x20)
            return item;
        std::optional<GlyphMetrics> glyph;
        if (item.metrics) {
            glyph = item.metrics->glyphFor(shown);
            item.face = item.metrics;
        }
        if (!glyph && !m_options.embedFonts) {
            item.face = m_fonts.fallbackFace(*format.bold, *format.italic);
            glyph = item.face->glyphFor(shown);
        }
        if (!glyph) {
            item.face = nullptr;
            return item;
        }
        item.glyph = glyph->glyph;
        item.advance = glyph->advance * size + format.letterSpacing.value_or(0);
        return item;
    }

    // The paragraph [begin, end) as items, walking the runs from where the last paragraph left them.
    void gather(size_t begin, size_t end, size_t& runIndex, size_t& runStart)
    {
        m_items.clear();
        const auto& runs = m_text.runs();
        for (; runIndex < runs.size(); ++runIndex) {
            const size_t runEnd = runStart + runs[runIndex].length;
            for (size_t i = std::max(begin, runStart); i < std::min(end, runEnd); ++i)
                m_items.push_back(itemFor(m_text.text()[i], runs[runIndex].format));
            if (runEnd > end)
                break;
            runStart = runEnd;
        }
    }

    void paragraph(size_t begin, size_t end, size_t& runIndex, size_t& runStart)
    {
        const TextFormat* at = m_text.formatAt(begin);
        const TextFormat& format = at && !m_text.isEmpty() ? *at : m_emptyFormat;
        gather(begin, end, runIndex, runStart);
        const double bulletIndent = format.bullet.value_or(false) ? positive(format.size) * 1.25 : 0;
        const double baseLeft = kGutter + positive(format.leftMargin) + positive(format.blockIndent) + bulletIndent;
        const double baseRoom = std::max(0.0, m_options.width - 2 * kGutter - positive(format.leftMargin)
                                                  - positive(format.rightMargin) - positive(format.blockIndent) - bulletIndent);
        const double indent = format.indent.value_or(0);
        const std::vector<double> stops = format.tabStops.value_or(std::vector<double>{});

        size_t lineStart = 0;
        bool first = true;
        while (true) {
            const double left = baseLeft + (first ? indent : 0);
            const double room = std::max(0.0, baseRoom - (first ? indent : 0));
            const size_t lineEnd = breakLine(lineStart, room, stops);
            PendingLine pending;
            pending.firstItem = lineStart;
            pending.endItem = lineEnd;
            pending.line.begin = begin + lineStart;
            pending.line.end = begin + lineEnd;
            pending.line.left = left;
            pending.line.leading = format.leading.value_or(0);
            pending.align = format.align.value_or(TextAlign::Left);
            pending.room = room;
            pending.lastOfParagraph = lineEnd >= m_items.size();
            placeLine(pending, format, stops);
            if (first && bulletIndent > 0)
                addBullet(pending.line, format, left - bulletIndent);
            m_pending.push_back(std::move(pending));
            if (lineEnd >= m_items.size())
                break;
            lineStart = lineEnd;
            first = false;
        }
    }

    double tabAdvance(double x, const std::vector<double>& stops, const TextFormat& f) const
    {
        for (double stop : stops) {
            if (stop > x)
                return stop - x;
        }
        const double size = std::max(1.0, positive(f.size));
        const double interval = std::max(kDefaultTabStop, size);
        return interval * (std::floor(x / interval) + 1) - x;
    }

    // Where the line from `start` ends: all of the paragraph without wrapping,
    // else the last break opportunity before the text passes `room`.
    size_t breakLine(size_t start, double room, const std::vector<double>& stops)
    {
        double x = 0;
        size_t lastBreak = 0;
        for (size_t k = start; k < m_items.size(); ++k) {
            Item& item = m_items[k];
            if (item.c == U'\t')
                item.advance = tabAdvance(x, stops, *item.format);
            if (isIdeographic(item.c) && k > start)
                lastBreak = k;
            if (m_options.wordWrap && k > start && !isSpace(item.c) && x + item.advance > room)
                return lastBreak > start ? lastBreak : k;
            x += item.advance;
            if (isSpace(item.c) || item.c == U'-' || isIdeographic(item.c))
                lastBreak = k + 1;
        }
        return m_items.size();
    }

    // Glyph runs of the line, its height from the formats on it, and its width.
    void placeLine(PendingLine& pending, const TextFormat& paragraphFormat, const std::vector<double>& stops)
    {
        LayoutLine& line = pending.line;
        double x = 0, width = 0;
        for (size_t k = pending.firstItem; k < pending.endItem; ++k) {
            Item& item = m_items[k];
            if (item.c == U'\t')
                item.advance = tabAdvance(x, stops, *item.format);
            line.caretXs.push_back(x);
            const double size = positive(item.format->size);
            if (item.metrics) {
                line.ascent = std::max(line.ascent, item.metrics->ascent() * size);
                line.descent = std::max(line.descent, item.metrics->descent() * size);
            }
            if (item.face) {
                GlyphRun* run = line.runs.empty() ? nullptr : &line.runs.back();
                if (!run || run->face != item.face || run->size != size || run->color != *item.format->color
                    || run->underline != *item.format->underline) {
                    line.runs.push_back({item.face, size, *item.format->color, *item.format->underline, {}, {}, x, x});
                    run = &line.runs.back();
                }
                run->glyphs.push_back(item.glyph);
                run->xs.push_back(x);
                run->right = x + item.advance;
            }
            x += item.advance;
            if (!isSpace(item.c))
                width = x;
        }
        if (pending.firstItem == pending.endItem || (line.ascent == 0 && line.descent == 0)) {
            if (const FontFace* face = faceOf(paragraphFormat)) {
                line.ascent = face->ascent() * positive(paragraphFormat.size);
                line.descent = face->descent() * positive(paragraphFormat.size);
            }
        }
        line.caretXs.push_back(x);
        line.width = width;
        m_layout.textWidth = std::max(m_layout.textWidth, width);
    }

    void addBullet(LayoutLine& line, const TextFormat& format, double x)
    {
        const Item bullet = itemFor(kBullet, format);
        if (!bullet.face)
            return;
        const double shift = x - line.left; // runs are placed relative to the line's left until finish()
        line.runs.push_back({bullet.face, positive(format.size), *format.color, false, {bullet.glyph}, {shift}, shift,
                             shift + bullet.advance});
    }

    // Alignment and vertical positions, once every line's width is known.
    void finish()
    {
        double top = kGutter;
        for (size_t i = 0; i < m_pending.size(); ++i) {
            PendingLine& pending = m_pending[i];
            LayoutLine& line = pending.line;
            const double room = m_options.alignToText ? m_layout.textWidth : pending.room;
            const double extra = std::max(0.0, room - line.width);
            double offset = pending.align == TextAlign::Center ? extra / 2 : pending.align == TextAlign::Right ? extra : 0;
            if (!m_options.wordWrap && !m_options.alignToText && line.width > room)
                offset = 0;
            shiftRuns(line, line.left + offset);
            if (pending.align == TextAlign::Justify && m_options.wordWrap && !pending.lastOfParagraph)
                justify(pending, extra);
            line.left += offset;
            line.top = top;
            top = line.bottom() + line.leading;
        }
        if (!m_pending.empty())
            m_layout.textHeight = m_pending.back().line.bottom() - kGutter;
        for (PendingLine& pending : m_pending)
            m_layout.lines.push_back(std::move(pending.line));
    }

    static void shiftRuns(LayoutLine& line, double by)
    {
        for (GlyphRun& run : line.runs) {
            for (double& x : run.xs)
                x += by;
            run.left += by;
            run.right += by;
        }
        for (double& x : line.caretXs)
            x += by;
    }

    // Spreads `extra` over the line's spaces, each glyph moving by the spaces before it.
    void justify(PendingLine& pending, double extra)
    {
        size_t spaces = 0;
        for (size_t k = pending.firstItem; k < pending.endItem; ++k)
            spaces += m_items[k].c == U' ' && k + 1 < pending.endItem ? 1 : 0;
        if (spaces == 0)
            return;
        const double perSpace = extra / double(spaces);
        size_t seen = 0;
        auto runIt = pending.line.runs.begin();
        size_t glyphInRun = 0;
        for (size_t k = pending.firstItem; k < pending.endItem; ++k) {
            const Item& item = m_items[k];
            if (item.face && runIt != pending.line.runs.end()) {
                runIt->xs[glyphInRun] += perSpace * double(seen);
                runIt->right = runIt->xs[glyphInRun] + item.advance;
                if (++glyphInRun >= runIt->xs.size()) {
                    ++runIt;
                    glyphInRun = 0;
                }
            }
            if (item.c == U' ')
                ++seen;
            if (const size_t after = k - pending.firstItem + 1; after < pending.line.caretXs.size())
                pending.line.caretXs[after] += perSpace * double(seen);
        }
        pending.line.width += extra;
    }

    const StyledText& m_text;
    const TextFormat& m_emptyFormat;
    const LayoutOptions& m_options;
    FontLibrary& m_fonts;
    std::vector<Item> m_items;
    std::vector<PendingLine> m_pending;
    TextLayout m_layout;
};

} // namespace

TextLayout layOutText(const StyledText& text, const TextFormat& emptyFormat, const LayoutOptions& options, FontLibrary& fonts)
{
    return Layouter(text, emptyFormat, options, fonts).run();
}

} // namespace flash::text
