// Fill and line styles and the bit-packed shape records shared by shapes,
// morph shapes and font glyphs.
#pragma once

#include "flash/io/BitReader.h"
#include "flash/model/ShapeDef.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace flash {

class ParseContext;

// Style records by shape version (1..4): colours gain alpha from 3 on, line
// styles gain caps, joins and fills at 4. Unknown fill types or cap values
// fail the reader (`problem` says why).
struct StyleReader {
    ByteReader& r;
    uint8_t shapeVersion;
    std::string problem;
    ParseContext* budget = nullptr; // charged for the style arrays read

    FillStyle fill();
    LineStyle line();
    Gradient gradient(bool focal);
    std::vector<FillStyle> fillArray();
    std::vector<LineStyle> lineArray();

    [[nodiscard]] bool ok() const { return problem.empty() && !r.failed(); }
};

// The flag word of a version-4 line style (caps, join, fill flag, scaling,
// no-close) and the miter limit after it; false for an invalid cap or join.
bool readStrokeFlags(ByteReader& r, LineStyle& line);

// FillStyle type byte to kind; nullopt for a type movies may not use.
[[nodiscard]] std::optional<FillKind> fillKindFromType(uint8_t type);
[[nodiscard]] SpreadMode spreadFromBits(unsigned bits);
[[nodiscard]] InterpolationMode interpolationFromBits(unsigned bits);
[[nodiscard]] std::optional<CapStyle> capFromBits(unsigned bits);
[[nodiscard]] std::optional<JoinStyle> joinFromBits(unsigned bits);

struct StyleChangeRecord {
    bool hasMove = false;
    int32_t moveX = 0, moveY = 0;
    std::optional<uint32_t> fill0, fill1, line;
    bool hasNewStyles = false;
    std::vector<FillStyle> newFills;
    std::vector<LineStyle> newLines;
};

struct EdgeRecord {
    bool isCurve = false;
    int32_t controlDx = 0, controlDy = 0; // curves: pen to control point
    int32_t dx = 0, dy = 0;               // lines: pen to end; curves: control to anchor
};

// Reads shape records up to the end-of-shape record, handing each to `sink`
// (`styleChange(StyleChangeRecord&)` and `edge(const EdgeRecord&)`, both
// returning false to stop). New style arrays are read with `styles` when it
// is given; otherwise they make the records fail. Returns an empty string on
// success, else the problem.
template<typename Sink>
std::string readShapeRecords(ByteReader& r, unsigned fillBits, unsigned lineBits, StyleReader* styles, Sink& sink)
{
    BitReader bits(r);
    while (true) {
        if (r.failed())
            return "shape records end early";
        // Some writers drop the end record when the data runs out with it.
        if (r.atEnd() && bits.bitsLeft() < 6)
            return "";
        if (bits.flag()) {
            EdgeRecord e;
            const bool straight = bits.flag();
            const unsigned n = bits.ub(4) + 2;
            if (straight) {
                e.isCurve = false;
                if (bits.flag()) {
                    e.dx = bits.sb(n);
                    e.dy = bits.sb(n);
                } else if (bits.flag()) {
                    e.dy = bits.sb(n);
                } else {
                    e.dx = bits.sb(n);
                }
            } else {
                e.isCurve = true;
                e.controlDx = bits.sb(n);
                e.controlDy = bits.sb(n);
                e.dx = bits.sb(n);
                e.dy = bits.sb(n);
            }
            if (r.failed())
                return "shape records end early";
            if (!sink.edge(e))
                return "shape records rejected";
            continue;
        }
        const unsigned flags = bits.ub(5);
        if (flags == 0)
            return r.failed() ? "shape records end early" : "";
        StyleChangeRecord sc;
        if (flags & 0x01) {
            const unsigned n = bits.ub(5);
            sc.hasMove = true;
            sc.moveX = bits.sb(n);
            sc.moveY = bits.sb(n);
        }
        if (flags & 0x02)
            sc.fill0 = bits.ub(fillBits);
        if (flags & 0x04)
            sc.fill1 = bits.ub(fillBits);
        if (flags & 0x08)
            sc.line = bits.ub(lineBits);
        if (flags & 0x10) {
            if (!styles)
                return "new styles where none are allowed";
            bits.align();
            sc.hasNewStyles = true;
            sc.newFills = styles->fillArray();
            sc.newLines = styles->lineArray();
            if (!styles->ok())
                return styles->problem.empty() ? "shape records end early" : styles->problem;
            fillBits = bits.ub(4);
            lineBits = bits.ub(4);
        }
        if (r.failed())
            return "shape records end early";
        if (!sink.styleChange(sc))
            return "shape records rejected";
    }
}

// Turns records into absolute paths: one ShapePath per run of edges with the
// same styles, each starting with a MoveTo, new styles appended to the shape's
// arrays and later indices offset to match. Out-of-range indices become 0.
class ShapePathBuilder {
public:
    // `budget` (optional) is charged for the commands made; the walk stops when it runs out.
    ShapePathBuilder(std::vector<FillStyle>& fills, std::vector<LineStyle>& lines, std::vector<ShapePath>& paths,
                     ParseContext* budget)
        : m_fills(fills), m_lines(lines), m_paths(paths), m_budget(budget) { }

    bool styleChange(StyleChangeRecord& sc);
    bool edge(const EdgeRecord& e);
    // Finishes the last path; returns the number of path commands made.
    size_t finish();

    // Pen position, for callers that mirror the walk (morph shapes).
    [[nodiscard]] Point pen() const { return {double(m_x), double(m_y)}; }

private:
    void startPath();
    void flushPath();
    [[nodiscard]] uint32_t fillIndex(uint32_t stored) const;
    [[nodiscard]] uint32_t lineIndex(uint32_t stored) const;

    std::vector<FillStyle>& m_fills;
    std::vector<LineStyle>& m_lines;
    std::vector<ShapePath>& m_paths;
    ParseContext* m_budget;
    ShapePath m_current;
    bool m_open = false;
    bool m_newStylesPending = false; // the next path made is the first of a new style array
    int64_t m_x = 0, m_y = 0;
    size_t m_fillBase = 0, m_lineBase = 0;
    size_t m_commandCount = 0;
    size_t m_uncharged = 0;
};

} // namespace flash
