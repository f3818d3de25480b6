// What scripts draw into a clip with moveTo, lineTo, curveTo, beginFill and
// lineStyle, kept as a shape the renderer draws like any other.
#pragma once

#include "flash/model/ShapeDef.h"

#include <memory>
#include <optional>

namespace flash {

class Drawing {
public:
    // Coordinates in twips of the clip's space.
    void moveTo(Point to);
    void lineTo(Point to);
    void curveTo(Point control, Point to);
    // A fill closes the one before it; its outline runs from the pen's position.
    void beginFill(const FillStyle& fill);
    // Closes the fill's outline back to where it started.
    void endFill();
    // No style: lines are not drawn from here on.
    void lineStyle(std::optional<LineStyle> style);
    // Paints the current line style with `fill` (a gradient) instead of its colour.
    void restyleLine(const FillStyle& fill);
    void clear();

    [[nodiscard]] bool isEmpty() const { return m_shape.paths.empty(); }
    // The extent of what is drawn so far, line widths included.
    [[nodiscard]] std::optional<Rect> bounds() const { return m_extent; }
    // The shape as drawn so far; the same object until the drawing changes.
    [[nodiscard]] std::shared_ptr<const ShapeDef> shape();

    // Bounds on how much one clip's drawing may hold.
    static constexpr size_t kMaxCommands = 1'000'000;
    static constexpr size_t kMaxStyles = 65'535;

private:
    void startPath(bool newStyles);
    void closeFill();
    ShapePath& path();
    void extendBounds(Point p);
    [[nodiscard]] bool isFull() const { return m_commands >= kMaxCommands; }

    ShapeDef m_shape;
    std::shared_ptr<const ShapeDef> m_published;
    uint32_t m_fill = 0; // 1-based index into the shape's fills; 0 when no fill is open
    uint32_t m_line = 0;
    Point m_pen;
    Point m_fillStart;
    bool m_pathOpen = false;
    bool m_stylesChanged = false;
    size_t m_commands = 0;
    std::optional<Rect> m_extent;
};

} // namespace flash
