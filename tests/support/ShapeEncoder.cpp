// Turns a ShapeBuilder into shape records.
#include "ShapeEncoder.h"

#include "Records.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace swfw {

namespace {

// Edge deltas are stored in at most 17 signed bits.
constexpr int32_t kMaxDelta = (1 << 16) - 1;
constexpr int32_t kMinDelta = -(1 << 16);

struct IntPoint {
    int32_t x = 0, y = 0;
};

IntPoint toUnits(Point p, double scale)
{
    return {static_cast<int32_t>(std::lround(p.x * scale)), static_cast<int32_t>(std::lround(p.y * scale))};
}

bool deltaFits(int32_t d) { return d >= kMinDelta && d <= kMaxDelta; }

int edgeBits(std::initializer_list<int32_t> deltas)
{
    int bits = 2; // the field stores bits - 2
    for (int32_t d : deltas)
        bits = std::max(bits, BitWriter::signedBits(d));
    return bits;
}

void writeStraightEdge(BitWriter& out, int32_t dx, int32_t dy)
{
    out.ub(1, 1); // edge
    out.ub(1, 1); // straight
    const bool general = dx != 0 && dy != 0;
    const int bits = general ? edgeBits({dx, dy}) : edgeBits({dx == 0 ? dy : dx});
    out.ub(static_cast<uint32_t>(bits - 2), 4);
    out.flag(general);
    if (general) {
        out.sb(dx, bits);
        out.sb(dy, bits);
    } else {
        const bool vertical = dx == 0;
        out.flag(vertical);
        out.sb(vertical ? dy : dx, bits);
    }
}

// Long straight edges are split, since one record reaches only 2^16 units.
void writeLine(BitWriter& out, IntPoint from, IntPoint to)
{
    const int64_t dx = int64_t(to.x) - from.x, dy = int64_t(to.y) - from.y;
    if (dx == 0 && dy == 0)
        return;
    const int64_t pieces = std::max<int64_t>(1, (std::max(std::abs(dx), std::abs(dy)) + kMaxDelta - 1) / kMaxDelta);
    IntPoint at = from;
    for (int64_t i = 1; i <= pieces; ++i) {
        const IntPoint next{static_cast<int32_t>(from.x + dx * i / pieces), static_cast<int32_t>(from.y + dy * i / pieces)};
        writeStraightEdge(out, next.x - at.x, next.y - at.y);
        at = next;
    }
}

void writeCurve(BitWriter& out, IntPoint from, IntPoint control, IntPoint to)
{
    const int32_t cdx = control.x - from.x, cdy = control.y - from.y;
    const int32_t adx = to.x - control.x, ady = to.y - control.y;
    if (!deltaFits(cdx) || !deltaFits(cdy) || !deltaFits(adx) || !deltaFits(ady))
        throw std::invalid_argument("curve too long for one edge record");
    const int bits = edgeBits({cdx, cdy, adx, ady});
    out.ub(1, 1); // edge
    out.ub(0, 1); // curved
    out.ub(static_cast<uint32_t>(bits - 2), 4);
    out.sb(cdx, bits);
    out.sb(cdy, bits);
    out.sb(adx, bits);
    out.sb(ady, bits);
}

struct Widths {
    int fill = 0, line = 0;
};

Widths widthsOf(const StyleGroup& g)
{
    return {BitWriter::unsignedBits(static_cast<uint32_t>(g.fills.size())),
            BitWriter::unsignedBits(static_cast<uint32_t>(g.lines.size()))};
}

void writeIndex(BitWriter& out, uint32_t index, int bits)
{
    if (BitWriter::unsignedBits(index) > bits)
        throw std::invalid_argument("style index past the end of its style array");
    out.ub(index, bits);
}

class RecordWriter {
public:
    RecordWriter(BitWriter& out, const ShapeBuilder& shape, double scale, int version, RecordContent content)
        : m_out(out), m_shape(shape), m_scale(scale), m_version(version), m_content(content),
          m_widths(widthsOf(shape.groups().front()))
    {
    }

    void writeAll()
    {
        m_out.ub(static_cast<uint32_t>(m_widths.fill), 4);
        m_out.ub(static_cast<uint32_t>(m_widths.line), 4);
        for (const auto& record : m_shape.records()) {
            if (const auto* change = std::get_if<StyleChange>(&record))
                writeStyleChange(*change);
            else
                writeEdge(std::get<Edge>(record));
        }
        m_out.ub(0, 6); // end of shape
        m_out.align();
    }

private:
    void writeStyleChange(const StyleChange& c)
    {
        if (m_content == RecordContent::MovesOnly) {
            if (c.moveTo)
                writeChange(StyleChange{c.moveTo, {}, {}, {}, false});
            return;
        }
        writeChange(c);
    }

    void writeChange(const StyleChange& c)
    {
        if (!c.newStyles) {
            writeChangeRecord(c);
            return;
        }
        if (m_version < 2 || m_version > 4)
            throw std::invalid_argument("new styles part-way need DefineShape2 or later");
        // Readers take the style indices of a record that brings new styles with the
        // old bit widths; selecting in a second record keeps both readings the same.
        writeChangeRecord(StyleChange{c.moveTo, {}, {}, {}, true});
        if (c.fill0 || c.fill1 || c.line)
            writeChangeRecord(StyleChange{std::nullopt, c.fill0, c.fill1, c.line, false});
    }

    void writeChangeRecord(const StyleChange& c)
    {
        m_out.ub(0, 1); // not an edge
        m_out.flag(c.newStyles);
        m_out.flag(c.line.has_value());
        m_out.flag(c.fill1.has_value());
        m_out.flag(c.fill0.has_value());
        m_out.flag(c.moveTo.has_value());
        if (c.moveTo) {
            const IntPoint p = toUnits(*c.moveTo, m_scale);
            const int bits = std::max(BitWriter::signedBits(p.x), BitWriter::signedBits(p.y));
            m_out.ub(static_cast<uint32_t>(bits), 5);
            m_out.sb(p.x, bits);
            m_out.sb(p.y, bits);
            m_pen = p;
        }
        if (c.fill0)
            writeIndex(m_out, *c.fill0, m_widths.fill);
        if (c.fill1)
            writeIndex(m_out, *c.fill1, m_widths.fill);
        if (c.line)
            writeIndex(m_out, *c.line, m_widths.line);
        if (c.newStyles)
            writeNewStyles();
    }

    void writeNewStyles()
    {
        const auto& group = m_shape.groups().at(++m_group);
        writeFillStyles(m_out, group.fills, m_version);
        writeLineStyles(m_out, group.lines, m_version);
        m_widths = widthsOf(group);
        m_out.ub(static_cast<uint32_t>(m_widths.fill), 4);
        m_out.ub(static_cast<uint32_t>(m_widths.line), 4);
    }

    void writeEdge(const Edge& e)
    {
        const IntPoint to = toUnits(e.to, m_scale);
        if (e.control)
            writeCurve(m_out, m_pen, toUnits(*e.control, m_scale), to);
        else
            writeLine(m_out, m_pen, to);
        m_pen = to;
    }

    BitWriter& m_out;
    const ShapeBuilder& m_shape;
    double m_scale;
    int m_version;
    RecordContent m_content;
    Widths m_widths;
    size_t m_group = 0;
    IntPoint m_pen;
};

} // namespace

void writeShapeWithStyle(BitWriter& out, const ShapeBuilder& shape, int version, double unitScale)
{
    const auto& first = shape.groups().front();
    writeFillStyles(out, first.fills, version);
    writeLineStyles(out, first.lines, version);
    RecordWriter(out, shape, unitScale, version, RecordContent::All).writeAll();
}

void writeShape(BitWriter& out, const ShapeBuilder& shape, double unitScale, RecordContent content)
{
    // Glyphs and morph edges have no new-style records; version 0 rejects them.
    RecordWriter(out, shape, unitScale, 0, content).writeAll();
}

TwipsRect shapeBounds(const ShapeBuilder& shape, double unitScale, BoundsKind kind)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    int32_t xMin = kMax, yMin = kMax, xMax = -kMax, yMax = -kMax;
    auto include = [&](Point p) {
        const IntPoint q = toUnits(p, unitScale);
        xMin = std::min(xMin, q.x);
        xMax = std::max(xMax, q.x);
        yMin = std::min(yMin, q.y);
        yMax = std::max(yMax, q.y);
    };
    // The bounds of every edge: its start, control point and end.
    Point pen;
    for (const auto& record : shape.records()) {
        if (const auto* c = std::get_if<StyleChange>(&record)) {
            if (c->moveTo)
                pen = *c->moveTo;
            continue;
        }
        const auto& e = std::get<Edge>(record);
        include(pen);
        include(e.to);
        if (e.control)
            include(*e.control);
        pen = e.to;
    }
    if (xMin > xMax)
        return {};
    int32_t pad = 0;
    if (kind == BoundsKind::WithStrokes)
        for (const auto& g : shape.groups())
            for (const auto& l : g.lines)
                pad = std::max(pad, toTwips(l.widthPx) / 2);
    return {xMin - pad, xMax + pad, yMin - pad, yMax + pad};
}

size_t edgeCount(const ShapeBuilder& shape)
{
    return static_cast<size_t>(std::ranges::count_if(
        shape.records(), [](const ShapeRecord& r) { return std::holds_alternative<Edge>(r); }));
}

} // namespace swfw

