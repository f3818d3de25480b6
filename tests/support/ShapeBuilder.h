// Builds a shape in pixels: style lists and a pen that draws straight and
// curved edges. ShapeEncoder turns it into the records a shape tag stores.
#pragma once

#include "SwfTypes.h"

#include <optional>
#include <variant>
#include <vector>

namespace swfw {

struct Point {
    double x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Styles introduced together; a shape switches to a new group part-way through.
struct StyleGroup {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
};

// One record of the shape as the builder keeps it (coordinates in the builder's units).
struct StyleChange {
    std::optional<Point> moveTo;
    std::optional<uint32_t> fill0, fill1, line; // 1-based in the current group, 0 = none
    bool newStyles = false;                     // switches to the next style group
};
struct Edge {
    Point to;
    std::optional<Point> control; // set for a quadratic curve
};
using ShapeRecord = std::variant<StyleChange, Edge>;

// Which side of an edge a new fill paints: fill1 is the right of the drawing
// direction (y pointing down), so clockwise outlines use it.
enum class FillSide { Left, Right };

class ShapeBuilder {
public:
    ShapeBuilder() : m_groups(1) {}

    // Adds a fill style to the current group and paints with it from now on.
    ShapeBuilder& fill(const FillStyle& style, FillSide side = FillSide::Right);
    ShapeBuilder& fillSolid(Color c, FillSide side = FillSide::Right) { return fill(FillStyle::solid(c), side); }
    ShapeBuilder& noFill();
    // Adds a line style to the current group and strokes with it from now on.
    ShapeBuilder& line(const LineStyle& style);
    ShapeBuilder& lineSolid(double widthPx, Color c) { return line(LineStyle{.widthPx = widthPx, .color = c}); }
    ShapeBuilder& noLine();
    // Selects styles of the current group by 1-based index (0 = none).
    ShapeBuilder& useFill0(uint32_t index);
    ShapeBuilder& useFill1(uint32_t index);
    ShapeBuilder& useLine(uint32_t index);
    // Starts a new style group (DefineShape2 and later); selections reset to none.
    ShapeBuilder& newStyles();

    ShapeBuilder& moveTo(double x, double y);
    ShapeBuilder& lineTo(double x, double y);
    ShapeBuilder& curveTo(double cx, double cy, double x, double y);
    ShapeBuilder& close(); // straight edge back to the last moveTo

    // Closed outlines, drawn clockwise on screen.
    ShapeBuilder& rect(double x, double y, double w, double h);
    ShapeBuilder& ellipse(double cx, double cy, double rx, double ry);
    ShapeBuilder& circle(double cx, double cy, double r) { return ellipse(cx, cy, r, r); }
    ShapeBuilder& polygon(const std::vector<Point>& points);

    [[nodiscard]] const std::vector<StyleGroup>& groups() const { return m_groups; }
    [[nodiscard]] const std::vector<ShapeRecord>& records() const { return m_records; }

private:
    struct Selection {
        uint32_t fill0 = 0, fill1 = 0, line = 0;
        friend bool operator==(const Selection&, const Selection&) = default;
    };
    void flushStyles(std::optional<Point> moveTo);

    std::vector<StyleGroup> m_groups;
    std::vector<ShapeRecord> m_records;
    Selection m_wanted;         // what the next edge should be drawn with
    Selection m_written;        // what the records select so far
    size_t m_groupsWritten = 1; // style groups already switched to by a record
    Point m_pen, m_subpathStart;
};

} // namespace swfw
