// Encoders for the records shared by many tags.
#include "Records.h"

#include <algorithm>
#include <stdexcept>

namespace swfw {

namespace {

int32_t toFixed16(double v) { return static_cast<int32_t>(std::lround(v * 65536.0)); }
int16_t toFixed8(double v) { return static_cast<int16_t>(std::lround(v * 256.0)); }

int maxSignedBits(std::initializer_list<int32_t> values)
{
    int bits = 0;
    for (int32_t v : values)
        bits = std::max(bits, BitWriter::signedBits(v));
    return bits;
}

uint16_t widthTwips(const LineStyle& l)
{
    const int32_t w = toTwips(l.widthPx);
    if (w < 0 || w > 0xFFFF)
        throw std::invalid_argument("line width out of range");
    return static_cast<uint16_t>(w);
}

void writeCount(BitWriter& out, size_t count, int shapeVersion)
{
    if (count < 0xFF) {
        out.u8(static_cast<uint8_t>(count));
        return;
    }
    if (shapeVersion < 2 || count > 0xFFFF)
        throw std::invalid_argument("too many styles for this shape version");
    out.u8(0xFF);
    out.u16(static_cast<uint16_t>(count));
}

bool isGradient(FillType t)
{
    return t == FillType::LinearGradient || t == FillType::RadialGradient || t == FillType::FocalGradient;
}

void writeGradient(BitWriter& out, const FillStyle& f, bool withAlpha, int shapeVersion)
{
    const auto& g = f.gradient;
    const size_t maxStops = shapeVersion >= 4 ? 15 : 8;
    if (g.stops.empty() || g.stops.size() > maxStops)
        throw std::invalid_argument("gradient stop count out of range");
    out.ub(static_cast<uint32_t>(g.spread), 2);
    out.ub(static_cast<uint32_t>(g.interpolation), 2);
    out.ub(static_cast<uint32_t>(g.stops.size()), 4);
    for (const auto& stop : g.stops) {
        out.u8(stop.ratio);
        writeColor(out, stop.color, withAlpha);
    }
    if (f.type == FillType::FocalGradient)
        out.i16(toFixed8(f.focalPoint));
}

void writeFillStyle(BitWriter& out, const FillStyle& f, int shapeVersion)
{
    if (f.type == FillType::FocalGradient && shapeVersion < 4)
        throw std::invalid_argument("focal gradients need DefineShape4");
    out.u8(static_cast<uint8_t>(f.type));
    if (f.type == FillType::Solid) {
        writeColor(out, f.color, shapeVersion >= 3);
    } else if (isGradient(f.type)) {
        writeMatrix(out, f.matrix);
        writeGradient(out, f, shapeVersion >= 3, shapeVersion);
    } else {
        out.u16(f.bitmapId);
        writeMatrix(out, f.matrix);
    }
}

// The flag word shared by extended line styles, plain and morphing.
void writeLineStyleFlags(BitWriter& out, const LineStyle& l)
{
    out.ub(static_cast<uint32_t>(l.startCap), 2);
    out.ub(static_cast<uint32_t>(l.join), 2);
    out.flag(l.fill.has_value());
    out.flag(l.noHScale);
    out.flag(l.noVScale);
    out.flag(l.pixelHinting);
    out.ub(0, 5);
    out.flag(l.noClose);
    out.ub(static_cast<uint32_t>(l.endCap), 2);
    if (l.join == Join::Miter)
        out.i16(toFixed8(l.miterLimit));
}

void writeMorphGradient(BitWriter& out, const Gradient& start, const Gradient& end)
{
    if (start.stops.size() != end.stops.size() || start.stops.empty() || start.stops.size() > 15)
        throw std::invalid_argument("morph gradients need matching stop counts");
    out.u8(static_cast<uint8_t>(start.stops.size()));
    for (size_t i = 0; i < start.stops.size(); ++i) {
        out.u8(start.stops[i].ratio);
        writeColor(out, start.stops[i].color, true);
        out.u8(end.stops[i].ratio);
        writeColor(out, end.stops[i].color, true);
    }
}

void writeMorphFillStyle(BitWriter& out, const FillStyle& s, const FillStyle& e)
{
    if (s.type != e.type)
        throw std::invalid_argument("morph fill styles differ in kind");
    if (s.type == FillType::FocalGradient)
        throw std::invalid_argument("focal gradients are not written in morph shapes");
    out.u8(static_cast<uint8_t>(s.type));
    if (s.type == FillType::Solid) {
        writeColor(out, s.color, true);
        writeColor(out, e.color, true);
    } else if (isGradient(s.type)) {
        writeMatrix(out, s.matrix);
        writeMatrix(out, e.matrix);
        writeMorphGradient(out, s.gradient, e.gradient);
    } else {
        out.u16(s.bitmapId);
        writeMatrix(out, s.matrix);
        writeMatrix(out, e.matrix);
    }
}

} // namespace

void writeRect(BitWriter& out, const TwipsRect& r)
{
    const int bits = maxSignedBits({r.xMin, r.xMax, r.yMin, r.yMax});
    out.ub(static_cast<uint32_t>(bits), 5);
    out.sb(r.xMin, bits);
    out.sb(r.xMax, bits);
    out.sb(r.yMin, bits);
    out.sb(r.yMax, bits);
    out.align();
}

void writeMatrix(BitWriter& out, const Matrix& m)
{
    const bool hasScale = m.a != 1.0 || m.d != 1.0;
    out.flag(hasScale);
    if (hasScale) {
        const int32_t sx = toFixed16(m.a), sy = toFixed16(m.d);
        const int bits = maxSignedBits({sx, sy});
        out.ub(static_cast<uint32_t>(bits), 5);
        out.sb(sx, bits);
        out.sb(sy, bits);
    }
    const bool hasRotate = m.b != 0.0 || m.c != 0.0;
    out.flag(hasRotate);
    if (hasRotate) {
        const int32_t r0 = toFixed16(m.b), r1 = toFixed16(m.c);
        const int bits = maxSignedBits({r0, r1});
        out.ub(static_cast<uint32_t>(bits), 5);
        out.sb(r0, bits);
        out.sb(r1, bits);
    }
    const int bits = maxSignedBits({m.tx, m.ty});
    out.ub(static_cast<uint32_t>(bits), 5);
    out.sb(m.tx, bits);
    out.sb(m.ty, bits);
    out.align();
}

void writeColorTransform(BitWriter& out, const ColorTransform& cx, bool withAlpha)
{
    const int32_t mult[4] = {toFixed8(cx.rMult), toFixed8(cx.gMult), toFixed8(cx.bMult), toFixed8(cx.aMult)};
    const int32_t add[4] = {cx.rAdd, cx.gAdd, cx.bAdd, cx.aAdd};
    const int channels = withAlpha ? 4 : 3;
    bool hasMult = false, hasAdd = false;
    int bits = 0;
    for (int i = 0; i < channels; ++i) {
        hasMult |= mult[i] != 256;
        hasAdd |= add[i] != 0;
    }
    for (int i = 0; i < channels; ++i) {
        if (hasMult)
            bits = std::max(bits, BitWriter::signedBits(mult[i]));
        if (hasAdd)
            bits = std::max(bits, BitWriter::signedBits(add[i]));
    }
    if (bits > 15)
        throw std::invalid_argument("colour transform term out of range");
    out.flag(hasAdd);
    out.flag(hasMult);
    out.ub(static_cast<uint32_t>(bits), 4);
    if (hasMult)
        for (int i = 0; i < channels; ++i)
            out.sb(mult[i], bits);
    if (hasAdd)
        for (int i = 0; i < channels; ++i)
            out.sb(add[i], bits);
    out.align();
}

void writeColor(BitWriter& out, Color c, bool withAlpha)
{
    out.u8(c.r);
    out.u8(c.g);
    out.u8(c.b);
    if (withAlpha)
        out.u8(c.a);
}

void writeFillStyles(BitWriter& out, std::span<const FillStyle> fills, int shapeVersion)
{
    writeCount(out, fills.size(), shapeVersion);
    for (const auto& f : fills)
        writeFillStyle(out, f, shapeVersion);
}

void writeLineStyles(BitWriter& out, std::span<const LineStyle> lines, int shapeVersion)
{
    writeCount(out, lines.size(), shapeVersion);
    for (const auto& l : lines) {
        out.u16(widthTwips(l));
        if (shapeVersion < 4) {
            writeColor(out, l.color, shapeVersion >= 3);
            continue;
        }
        writeLineStyleFlags(out, l);
        if (l.fill)
            writeFillStyle(out, *l.fill, shapeVersion);
        else
            writeColor(out, l.color, true);
    }
}

void writeMorphFillStyles(BitWriter& out, std::span<const FillStyle> start, std::span<const FillStyle> end)
{
    if (start.size() != end.size())
        throw std::invalid_argument("morph start and end have different fill counts");
    writeCount(out, start.size(), 2);
    for (size_t i = 0; i < start.size(); ++i)
        writeMorphFillStyle(out, start[i], end[i]);
}

void writeMorphLineStyles(BitWriter& out, std::span<const LineStyle> start, std::span<const LineStyle> end,
                          int morphVersion)
{
    if (start.size() != end.size())
        throw std::invalid_argument("morph start and end have different line counts");
    writeCount(out, start.size(), 2);
    for (size_t i = 0; i < start.size(); ++i) {
        const LineStyle& s = start[i];
        const LineStyle& e = end[i];
        out.u16(widthTwips(s));
        out.u16(widthTwips(e));
        if (morphVersion >= 2)
            writeLineStyleFlags(out, s);
        if (morphVersion >= 2 && s.fill) {
            if (!e.fill)
                throw std::invalid_argument("morph line fills must both be set");
            writeMorphFillStyle(out, *s.fill, *e.fill);
        } else {
            writeColor(out, s.color, true);
            writeColor(out, e.color, true);
        }
    }
}

void appendTag(std::vector<uint8_t>& out, uint16_t code, std::span<const uint8_t> body, TagHeader header)
{
    if (code > 0x3FF || body.size() > 0x7FFFFFFF)
        throw std::invalid_argument("tag code or length out of range");
    BitWriter w;
    if (body.size() < 0x3F && header == TagHeader::Auto) {
        w.u16(static_cast<uint16_t>(code << 6 | body.size()));
    } else {
        w.u16(static_cast<uint16_t>(code << 6 | 0x3F));
        w.u32(static_cast<uint32_t>(body.size()));
    }
    w.bytes(body);
    const auto& head = w.data();
    out.insert(out.end(), head.begin(), head.end());
}

} // namespace swfw
