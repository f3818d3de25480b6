// Style arrays and the conversion of shape records into absolute paths.
#include "flash/parse/ShapeRecords.h"

#include "flash/parse/ParseContext.h"
#include "flash/parse/Primitives.h"

#include <utility>

namespace flash {

std::optional<FillKind> fillKindFromType(uint8_t type)
{
    switch (type) {
    case 0x00: return FillKind::Solid;
    case 0x10: return FillKind::LinearGradient;
    case 0x12: return FillKind::RadialGradient;
    case 0x13: return FillKind::FocalRadialGradient;
    case 0x40: return FillKind::RepeatingBitmap;
    case 0x41: return FillKind::ClippedBitmap;
    case 0x42: return FillKind::NonSmoothedRepeatingBitmap;
    case 0x43: return FillKind::NonSmoothedClippedBitmap;
    default: return std::nullopt;
    }
}

SpreadMode spreadFromBits(unsigned bits)
{
    // The one reserved value draws as pad.
    return bits == 1 ? SpreadMode::Reflect : bits == 2 ? SpreadMode::Repeat : SpreadMode::Pad;
}

InterpolationMode interpolationFromBits(unsigned bits)
{
    return bits == 1 ? InterpolationMode::LinearRgb : InterpolationMode::Rgb;
}

std::optional<CapStyle> capFromBits(unsigned bits)
{
    switch (bits) {
    case 0: return CapStyle::Round;
    case 1: return CapStyle::None;
    case 2: return CapStyle::Square;
    default: return std::nullopt;
    }
}

std::optional<JoinStyle> joinFromBits(unsigned bits)
{
    switch (bits) {
    case 0: return JoinStyle::Round;
    case 1: return JoinStyle::Bevel;
    case 2: return JoinStyle::Miter;
    default: return std::nullopt;
    }
}

Gradient StyleReader::gradient(bool focal)
{
    Gradient g;
    const uint8_t head = r.u8();
    g.spread = spreadFromBits(head >> 6);
    g.interpolation = interpolationFromBits((head >> 4) & 3);
    const unsigned count = head & 0x0f;
    g.stops.reserve(count);
    for (unsigned i = 0; i < count && !r.failed(); ++i) {
        GradientStop stop;
        stop.ratio = r.u8();
        stop.color = readColor(r, shapeVersion >= 3);
        g.stops.push_back(stop);
    }
    if (focal)
        g.focalPoint = r.fixed8();
    return g;
}

FillStyle StyleReader::fill()
{
    FillStyle f;
    const uint8_t type = r.u8();
    const auto kind = fillKindFromType(type);
    if (!kind) {
        if (problem.empty() && !r.failed())
            problem = "unknown fill style type " + std::to_string(type);
        r.fail();
        return f;
    }
    f.kind = *kind;
    if (f.kind == FillKind::Solid) {
        f.color = readColor(r, shapeVersion >= 3);
    } else if (isGradient(f.kind)) {
        f.matrix = readMatrix(r);
        f.gradient = gradient(f.kind == FillKind::FocalRadialGradient);
    } else {
        f.bitmapId = r.u16();
        f.matrix = readMatrix(r);
    }
    return f;
}

bool readStrokeFlags(ByteReader& r, LineStyle& l)
{
    BitReader bits(r);
    const auto startCap = capFromBits(bits.ub(2));
    const auto join = joinFromBits(bits.ub(2));
    l.hasFill = bits.flag();
    l.noHScale = bits.flag();
    l.noVScale = bits.flag();
    l.pixelHinting = bits.flag();
    bits.ub(5);
    l.noClose = bits.flag();
    const auto endCap = capFromBits(bits.ub(2));
    if (!startCap || !endCap || !join)
        return false;
    l.startCap = *startCap;
    l.endCap = *endCap;
    l.join = *join;
    if (l.join == JoinStyle::Miter)
        l.miterLimit = r.fixed8();
    return true;
}

LineStyle StyleReader::line()
{
    LineStyle l;
    l.width = r.u16();
    if (shapeVersion < 4) {
        l.color = readColor(r, shapeVersion >= 3);
        return l;
    }
    if (!readStrokeFlags(r, l)) {
        if (problem.empty() && !r.failed())
            problem = "invalid line cap or join style";
        r.fail();
        return l;
    }
    if (l.hasFill)
        l.fill = fill();
    else
        l.color = readRgba(r);
    return l;
}

std::vector<FillStyle> StyleReader::fillArray()
{
    size_t count = r.u8();
    if (count == 0xff && shapeVersion >= 2)
        count = r.u16();
    std::vector<FillStyle> fills;
    fills.reserve(std::min(count, r.remaining()));
    for (size_t i = 0; i < count && ok(); ++i)
        fills.push_back(fill());
    if (budget && !budget->charge(fills.size() * sizeof(FillStyle)))
        r.fail();
    return fills;
}

std::vector<LineStyle> StyleReader::lineArray()
{
    size_t count = r.u8();
    if (count == 0xff)
        count = r.u16();
    std::vector<LineStyle> lines;
    lines.reserve(std::min(count, r.remaining() / 2));
    for (size_t i = 0; i < count && ok(); ++i)
        lines.push_back(line());
    if (budget && !budget->charge(lines.size() * sizeof(LineStyle)))
        r.fail();
    return lines;
}

uint32_t ShapePathBuilder::fillIndex(uint32_t stored) const
{
    if (stored == 0)
        return 0;
    const size_t global = m_fillBase + stored;
    return global <= m_fills.size() ? uint32_t(global) : 0;
}

uint32_t ShapePathBuilder::lineIndex(uint32_t stored) const
{
    if (stored == 0)
        return 0;
    const size_t global = m_lineBase + stored;
    return global <= m_lines.size() ? uint32_t(global) : 0;
}

void ShapePathBuilder::flushPath()
{
    if (m_open && m_current.commands.size() > 1) {
        m_current.newStyles = std::exchange(m_newStylesPending, false);
        m_paths.push_back(std::move(m_current));
    }
    m_current.commands.clear();
    m_open = false;
}

void ShapePathBuilder::startPath()
{
    m_current.commands.clear();
    m_current.commands.push_back({PathCommand::Kind::MoveTo, pen(), {}});
    ++m_commandCount;
    m_open = true;
}

bool ShapePathBuilder::styleChange(StyleChangeRecord& sc)
{
    flushPath();
    if (sc.hasNewStyles) {
        // Indices in this record and later ones refer to the new arrays.
        m_fillBase = m_fills.size();
        m_lineBase = m_lines.size();
        m_fills.insert(m_fills.end(), std::make_move_iterator(sc.newFills.begin()),
                       std::make_move_iterator(sc.newFills.end()));
        m_lines.insert(m_lines.end(), std::make_move_iterator(sc.newLines.begin()),
                       std::make_move_iterator(sc.newLines.end()));
        m_current.fill0 = m_current.fill1 = m_current.line = 0;
        // The next path is the first drawn over everything before it.
        m_newStylesPending = true;
    }
    if (sc.hasMove) {
        m_x = sc.moveX;
        m_y = sc.moveY;
    }
    if (sc.fill0)
        m_current.fill0 = fillIndex(*sc.fill0);
    if (sc.fill1)
        m_current.fill1 = fillIndex(*sc.fill1);
    if (sc.line)
        m_current.line = lineIndex(*sc.line);
    return true;
}

bool ShapePathBuilder::edge(const EdgeRecord& e)
{
    if (!m_open)
        startPath();
    if (e.isCurve) {
        const int64_t cx = m_x + e.controlDx, cy = m_y + e.controlDy;
        m_x = cx + e.dx;
        m_y = cy + e.dy;
        m_current.commands.push_back({PathCommand::Kind::CurveTo, pen(), {double(cx), double(cy)}});
    } else {
        m_x += e.dx;
        m_y += e.dy;
        m_current.commands.push_back({PathCommand::Kind::LineTo, pen(), {}});
    }
    ++m_commandCount;
    // Charge the budget in batches so a huge shape stops early without a per-edge cost.
    constexpr size_t kBatch = 4096;
    if (m_budget && ++m_uncharged >= kBatch) {
        m_uncharged = 0;
        if (!m_budget->charge(kBatch * sizeof(PathCommand)))
            return false;
    }
    return true;
}

size_t ShapePathBuilder::finish()
{
    flushPath();
    if (m_budget && m_uncharged)
        m_budget->charge(m_uncharged * sizeof(PathCommand));
    m_uncharged = 0;
    return m_commandCount;
}

} // namespace flash
