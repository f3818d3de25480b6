// DefineMorphShape and DefineMorphShape2: paired start and end styles, and
// start and end edges made to correspond one to one.
#include "flash/parse/Primitives.h"
#include "flash/parse/ShapeRecords.h"
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagHandlers.h"

#include <memory>

namespace flash {
namespace {

struct MorphStyles {
    std::vector<FillStyle> startFills, endFills;
    std::vector<LineStyle> startLines, endLines;
};

struct MorphStyleReader {
    ByteReader& r;
    uint8_t morphVersion;
    std::string problem;

    [[nodiscard]] bool ok() const { return problem.empty() && !r.failed(); }

    Gradient gradientPair(Gradient& end, bool focal)
    {
        Gradient start;
        const uint8_t head = r.u8();
        start.spread = end.spread = spreadFromBits(head >> 6);
        start.interpolation = end.interpolation = interpolationFromBits((head >> 4) & 3);
        const unsigned count = head & 0x0f;
        for (unsigned i = 0; i < count && !r.failed(); ++i) {
            GradientStop s, e;
            s.ratio = r.u8();
            s.color = readRgba(r);
            e.ratio = r.u8();
            e.color = readRgba(r);
            start.stops.push_back(s);
            end.stops.push_back(e);
        }
        if (focal) {
            start.focalPoint = r.fixed8();
            end.focalPoint = r.fixed8();
        }
        return start;
    }

    void fillPair(FillStyle& start, FillStyle& end)
    {
        const uint8_t type = r.u8();
        const auto kind = fillKindFromType(type);
        if (!kind) {
            if (ok())
                problem = "unknown morph fill style type " + std::to_string(type);
            r.fail();
            return;
        }
        start.kind = end.kind = *kind;
        if (start.kind == FillKind::Solid) {
            start.color = readRgba(r);
            end.color = readRgba(r);
        } else if (isGradient(start.kind)) {
            start.matrix = readMatrix(r);
            end.matrix = readMatrix(r);
            start.gradient = gradientPair(end.gradient, start.kind == FillKind::FocalRadialGradient);
        } else {
            start.bitmapId = end.bitmapId = r.u16();
            start.matrix = readMatrix(r);
            end.matrix = readMatrix(r);
        }
    }

    void linePair(LineStyle& start, LineStyle& end)
    {
        start.width = r.u16();
        end.width = r.u16();
        if (morphVersion >= 2) {
            if (!readStrokeFlags(r, start)) {
                if (ok())
                    problem = "invalid line cap or join style";
                r.fail();
                return;
            }
            const uint16_t endWidth = end.width;
            end = start;
            end.width = endWidth;
        }
        if (start.hasFill) {
            fillPair(start.fill, end.fill);
        } else {
            start.color = readRgba(r);
            end.color = readRgba(r);
        }
    }

    MorphStyles read()
    {
        MorphStyles s;
        size_t fillCount = r.u8();
        if (fillCount == 0xff)
            fillCount = r.u16();
        for (size_t i = 0; i < fillCount && ok(); ++i) {
            fillPair(s.startFills.emplace_back(), s.endFills.emplace_back());
        }
        size_t lineCount = r.u8();
        if (lineCount == 0xff)
            lineCount = r.u16();
        for (size_t i = 0; i < lineCount && ok(); ++i)
            linePair(s.startLines.emplace_back(), s.endLines.emplace_back());
        return s;
    }
};

// The end shape's records, with absolute positions.
struct EndItem {
    enum class Kind : uint8_t { Move, Line, Curve } kind;
    int64_t x, y;   // move target or edge anchor
    int64_t cx, cy; // curve control
};

struct EndCollector {
    std::vector<EndItem> items;
    int64_t x = 0, y = 0;
    bool styleChange(StyleChangeRecord& sc)
    {
        if (sc.hasMove) {
            x = sc.moveX;
            y = sc.moveY;
            items.push_back({EndItem::Kind::Move, x, y, 0, 0});
        }
        return true;
    }
    bool edge(const EdgeRecord& e)
    {
        if (e.isCurve) {
            const int64_t cx = x + e.controlDx, cy = y + e.controlDy;
            x = cx + e.dx;
            y = cy + e.dy;
            items.push_back({EndItem::Kind::Curve, x, y, cx, cy});
        } else {
            x += e.dx;
            y += e.dy;
            items.push_back({EndItem::Kind::Line, x, y, 0, 0});
        }
        return true;
    }
};

// Walks the start records and feeds both builders the same style changes, so
// that their paths line up; end edges come from the collected end records.
struct MorphPairer {
    ShapePathBuilder& start;
    ShapePathBuilder& end;
    const std::vector<EndItem>& endItems;
    size_t next = 0;
    int64_t endX = 0, endY = 0;

    void skipEndMoves()
    {
        while (next < endItems.size() && endItems[next].kind == EndItem::Kind::Move) {
            endX = endItems[next].x;
            endY = endItems[next].y;
            ++next;
        }
    }

    bool styleChange(StyleChangeRecord& sc)
    {
        StyleChangeRecord mirrored;
        mirrored.fill0 = sc.fill0;
        mirrored.fill1 = sc.fill1;
        mirrored.line = sc.line;
        if (sc.hasMove) {
            skipEndMoves();
            mirrored.hasMove = true;
            mirrored.moveX = int32_t(endX);
            mirrored.moveY = int32_t(endY);
        }
        return start.styleChange(sc) && end.styleChange(mirrored);
    }

    bool edge(const EdgeRecord& e)
    {
        skipEndMoves();
        if (next >= endItems.size())
            return false;
        const EndItem& item = endItems[next++];
        endX = item.x;
        endY = item.y;
        const Point pen = end.pen();
        const int64_t px = int64_t(pen.x), py = int64_t(pen.y);
        EdgeRecord mirrored;
        mirrored.isCurve = item.kind == EndItem::Kind::Curve;
        if (mirrored.isCurve) {
            mirrored.controlDx = int32_t(item.cx - px);
            mirrored.controlDy = int32_t(item.cy - py);
            mirrored.dx = int32_t(item.x - item.cx);
            mirrored.dy = int32_t(item.y - item.cy);
        } else {
            mirrored.dx = int32_t(item.x - px);
            mirrored.dy = int32_t(item.y - py);
        }
        return start.edge(e) && end.edge(mirrored);
    }
};

// Where one side has a curve and the other a line, the line becomes a curve
// with its control point halfway along it.
void matchEdgeKinds(std::vector<ShapePath>& a, std::vector<ShapePath>& b)
{
    auto toCurve = [](std::vector<PathCommand>& cmds, size_t i) {
        const Point from = cmds[i - 1].to;
        cmds[i].kind = PathCommand::Kind::CurveTo;
        cmds[i].control = {(from.x + cmds[i].to.x) / 2, (from.y + cmds[i].to.y) / 2};
    };
    for (size_t p = 0; p < a.size(); ++p) {
        auto& ca = a[p].commands;
        auto& cb = b[p].commands;
        for (size_t i = 1; i < ca.size(); ++i) {
            if (ca[i].kind == cb[i].kind)
                continue;
            if (ca[i].kind == PathCommand::Kind::LineTo)
                toCurve(ca, i);
            else
                toCurve(cb, i);
        }
    }
}

bool pathsCorrespond(const std::vector<ShapePath>& a, const std::vector<ShapePath>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].commands.size() != b[i].commands.size())
            return false;
    }
    return true;
}

} // namespace

void parseDefineMorphShape(TagContext& t)
{
    auto& r = t.body;
    const uint8_t morphVersion = t.code == TagCode::DefineMorphShape2 ? 2 : 1;
    auto morph = std::make_shared<MorphShapeDef>();
    morph->version = morphVersion;
    morph->id = r.u16();
    morph->start.id = morph->end.id = morph->id;
    morph->start.version = morph->end.version = morphVersion == 2 ? 4 : 3;
    morph->start.bounds = morph->start.edgeBounds = readRect(r);
    morph->end.bounds = morph->end.edgeBounds = readRect(r);
    if (morphVersion == 2) {
        morph->start.edgeBounds = readRect(r);
        morph->end.edgeBounds = readRect(r);
        r.u8(); // stroke scaling hints
    }
    const uint32_t endEdgesOffset = r.u32();
    if (r.failed())
        return;
    if (endEdgesOffset == 0 || endEdgesOffset > r.remaining())
        return t.reject("end edges offset " + std::to_string(endEdgesOffset) + " lies outside the tag");

    ByteReader startPart = r.sub(endEdgesOffset);
    ByteReader endPart = r.sub(r.remaining());

    MorphStyleReader styleReader{startPart, morphVersion, {}};
    MorphStyles styles = styleReader.read();
    if (!styleReader.ok())
        return t.reject(styleReader.problem.empty() ? "morph styles end early" : styleReader.problem);
    if (!t.ctx.charge(2 * (styles.startFills.size() * sizeof(FillStyle) + styles.startLines.size() * sizeof(LineStyle))))
        return;
    morph->start.fills = std::move(styles.startFills);
    morph->end.fills = std::move(styles.endFills);
    morph->start.lines = std::move(styles.startLines);
    morph->end.lines = std::move(styles.endLines);

    EndCollector endRecords;
    {
        BitReader bits(endPart);
        const unsigned fillBits = bits.ub(4);
        const unsigned lineBits = bits.ub(4);
        const std::string problem = readShapeRecords(endPart, fillBits, lineBits, nullptr, endRecords);
        if (!problem.empty())
            return t.reject("end edges: " + problem);
    }
    if (!t.ctx.charge(endRecords.items.size() * sizeof(EndItem)))
        return;

    ShapePathBuilder startBuilder(morph->start.fills, morph->start.lines, morph->start.paths, &t.ctx);
    ShapePathBuilder endBuilder(morph->end.fills, morph->end.lines, morph->end.paths, &t.ctx);
    MorphPairer pairer{startBuilder, endBuilder, endRecords.items};
    BitReader bits(startPart);
    const unsigned fillBits = bits.ub(4);
    const unsigned lineBits = bits.ub(4);
    const std::string problem = readShapeRecords(startPart, fillBits, lineBits, nullptr, pairer);
    startBuilder.finish();
    endBuilder.finish();
    if (!problem.empty())
        return t.reject(pairer.next >= endRecords.items.size() ? "end shape has fewer edges than the start shape"
                                                                 : "start edges: " + problem);
    if (!pathsCorrespond(morph->start.paths, morph->end.paths))
        return t.reject("start and end edges do not correspond");
    matchEdgeKinds(morph->start.paths, morph->end.paths);
    const uint16_t id = morph->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const MorphShapeDef>(std::move(morph)));
}

} // namespace flash
