// Text fields on the stage. Lines are drawn in the field's pixels: the view
// matrix is scaled from twips once, and each run is placed by the layout.
#include "flash/render/TextFieldPainter.h"

#include "flash/render/PathPieces.h"
#include "flash/render/QtConversions.h"
#include "flash/render/ShapeOutline.h"
#include "flash/text/TextField.h"

#include <QGlyphRun>
#include <QPainter>
#include <climits>
#include <map>

namespace flash {
namespace {

using text::GlyphRun;
using text::TextField;

QRectF toQRect(const Rect& r)
{
    return QRectF(r.xMin, r.yMin, double(r.xMax) - r.xMin, double(r.yMax) - r.yMin);
}

QColor colorOf(uint32_t rgb, const ColorTransform& transform)
{
    return toQColor(transform.apply(Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255}));
}

// Glyph outlines of embedded fonts, made once per glyph while one field is drawn.
class GlyphOutlines {
public:
    const QPainterPath& outline(const FontDef& font, uint32_t glyph)
    {
        const auto key = std::make_pair(&font, glyph);
        auto it = m_paths.find(key);
        if (it == m_paths.end())
            it = m_paths.emplace(key, glyph < font.glyphs.size() ? buildGlyphOutline(font.glyphs[glyph].paths) : QPainterPath()).first;
        return it->second;
    }

private:
    std::map<std::pair<const FontDef*, uint32_t>, QPainterPath> m_paths;
};

void paintEmbeddedRun(QPainter& painter, const GlyphRun& run, double baseline, const QColor& color, GlyphOutlines& outlines)
{
    const FontDef& font = *run.face->embedded();
    if (!(font.emSize > 0))
        return;
    const double scale = run.size / font.emSize;
    // Opaque text is filled a few glyphs at a time, which is much faster than a line at once.
    const int perFill = fillsPieceByPiece(painter, QBrush(color)) ? kOutlinesPerPiece : INT_MAX;
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    int gathered = 0;
    for (size_t i = 0; i < run.glyphs.size(); ++i) {
        const QPainterPath& glyph = outlines.outline(font, run.glyphs[i]);
        if (glyph.isEmpty())
            continue;
        path.addPath(QTransform(scale, 0, 0, scale, run.xs[i], baseline).map(glyph));
        if (++gathered == perFill) {
            painter.fillPath(path, color);
            path.clear();
            gathered = 0;
        }
    }
    if (gathered > 0)
        painter.fillPath(path, color);
}

void paintDeviceRun(QPainter& painter, const GlyphRun& run, double baseline, const QColor& color)
{
    QRawFont raw = run.face->device();
    if (!raw.isValid() || !(run.size > 0))
        return;
    raw.setPixelSize(run.size);
    QList<quint32> glyphs(run.glyphs.begin(), run.glyphs.end());
    QList<QPointF> positions;
    positions.reserve(qsizetype(run.xs.size()));
    for (double x : run.xs)
        positions.append(QPointF(x, baseline));
    QGlyphRun glyphRun;
    glyphRun.setRawFont(raw);
    glyphRun.setGlyphIndexes(glyphs);
    glyphRun.setPositions(positions);
    painter.setPen(color);
    painter.drawGlyphRun(QPointF(0, 0), glyphRun);
}

void paintUnderline(QPainter& painter, const GlyphRun& run, double baseline, const QColor& color)
{
    const double thickness = std::max(1.0, run.size / 16);
    painter.fillRect(QRectF(run.left, baseline + run.size / 10, run.right - run.left, thickness), color);
}

void paintLines(QPainter& painter, const TextField& field, const QRectF& area, const ColorTransform& transform)
{
    const text::TextLayout& layout = field.layout();
    const size_t first = size_t(field.scroll()) - 1;
    if (first >= layout.lines.size())
        return;
    const double dy = text::kGutter - layout.lines[first].top;
    const double dx = -field.hscroll();
    const double height = area.height() / kTwipsPerPixel;
    GlyphOutlines outlines;
    for (size_t i = first; i < layout.lines.size(); ++i) {
        const text::LayoutLine& line = layout.lines[i];
        if (line.top + dy > height)
            break;
        const double baseline = line.baseline() + dy;
        for (const GlyphRun& run : line.runs) {
            const QColor color = colorOf(run.color, transform);
            if (color.alpha() == 0)
                continue;
            painter.save();
            painter.translate(dx, 0);
            if (run.face->embedded())
                paintEmbeddedRun(painter, run, baseline, color, outlines);
            else
                paintDeviceRun(painter, run, baseline, color);
            if (run.underline)
                paintUnderline(painter, run, baseline, color);
            painter.restore();
        }
    }
}

// A focused field shows its selection inverted, and an input field its caret.
void paintSelection(QPainter& painter, const TextField& field)
{
    const text::Selection selection = field.selection();
    const size_t from = std::min(selection.begin, selection.end), to = std::max(selection.begin, selection.end);
    if (from == to) {
        if (field.settings().type != text::FieldType::Input)
            return;
        if (const auto caret = field.caretPlace(to))
            painter.fillRect(QRectF(caret->x, caret->top, 1, caret->bottom - caret->top), Qt::black);
        return;
    }
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    const text::TextLayout& layout = field.layout();
    for (const text::LayoutLine& line : layout.lines) {
        const size_t begin = std::max(from, line.begin), end = std::min(to, line.end);
        if (begin >= end && !(from <= line.begin && to > line.end))
            continue;
        const auto left = field.caretPlace(begin), right = field.caretPlace(end);
        if (left && right)
            painter.fillRect(QRectF(left->x, left->top, std::max(2.0, right->x - left->x), left->bottom - left->top),
                             Qt::white);
    }
    painter.restore();
}

} // namespace

QRectF textFieldBounds(const EditTextDef& def, const Placement& placement)
{
    return toQRect(placement.editText ? placement.editText->bounds() : def.bounds);
}

void paintTextField(const PaintContext& context, const EditTextDef& def, const Placement& placement)
{
    // A field drawn without a live state (a button's record) shows its definition.
    std::unique_ptr<TextField> fromDefinition;
    const TextField* field = dynamic_cast<const TextField*>(placement.editText);
    if (!field) {
        const std::shared_ptr<const Movie> movie(std::shared_ptr<const Movie>(), &context.movie); // not owned
        auto edit = std::shared_ptr<const EditTextDef>(std::shared_ptr<const EditTextDef>(), &def);
        fromDefinition = std::make_unique<TextField>(edit, std::make_shared<text::FontLibrary>(movie));
        field = fromDefinition.get();
    }
    const QRectF area = toQRect(field->bounds());
    if (area.isEmpty())
        return;
    QPainter& painter = context.painter;
    painter.save();
    painter.setTransform(toQTransform(placement.toView));
    const text::FieldSettings& settings = field->settings();
    if (settings.background)
        painter.fillRect(area, colorOf(settings.backgroundColor, placement.transform));
    if (settings.border) {
        // One pixel wide, just inside the field's edge.
        const double half = kTwipsPerPixel / 2;
        painter.setPen(QPen(colorOf(settings.borderColor, placement.transform), kTwipsPerPixel));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(half, half, -half, -half));
    }
    painter.setClipRect(area, Qt::IntersectClip);
    painter.translate(area.topLeft());
    painter.scale(kTwipsPerPixel, kTwipsPerPixel);
    paintLines(painter, *field, area, placement.transform);
    if (field->isFocused())
        paintSelection(painter, *field);
    painter.restore();
}

} // namespace flash
