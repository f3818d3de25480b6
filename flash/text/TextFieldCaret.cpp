// The caret: which character a point falls before, where a caret stands, and
// how it moves. Positions use the lines as the painter shows them: scrolled
// up by the first visible line and left by the horizontal scroll.
#include "flash/text/TextField.h"

#include <algorithm>
#include <cmath>

namespace flash::text {

namespace {

// The line showing position `index`: the first whose end reaches it.
size_t lineOf(const TextLayout& layout, size_t index)
{
    for (size_t i = 0; i < layout.lines.size(); ++i) {
        if (index <= layout.lines[i].end)
            return i;
    }
    return layout.lines.size() - 1;
}

size_t nearestInLine(const LayoutLine& line, double x)
{
    size_t best = line.begin;
    double bestDistance = INFINITY;
    for (size_t i = 0; i < line.caretXs.size(); ++i) {
        const double distance = std::abs(line.caretXs[i] - x);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = line.begin + i;
        }
    }
    return std::min(best, line.end);
}

} // namespace

size_t TextField::indexAt(double x, double y) const
{
    const TextLayout& lines = layout();
    if (lines.lines.empty())
        return 0;
    const size_t first = std::min(size_t(std::max(scroll(), 1)) - 1, lines.lines.size() - 1);
    const double layoutY = y - kGutter + lines.lines[first].top;
    const double layoutX = x + hscroll();
    size_t row = lines.lines.size() - 1;
    for (size_t i = first; i < lines.lines.size(); ++i) {
        if (layoutY < lines.lines[i].bottom() + lines.lines[i].leading) {
            row = i;
            break;
        }
    }
    return nearestInLine(lines.lines[row], layoutX);
}

std::optional<TextField::CaretPlace> TextField::caretPlace(size_t index) const
{
    const TextLayout& lines = layout();
    if (lines.lines.empty())
        return std::nullopt;
    const size_t row = lineOf(lines, std::min(index, length()));
    const size_t first = size_t(std::max(scroll(), 1)) - 1;
    if (row < first || first >= lines.lines.size())
        return std::nullopt;
    const LayoutLine& line = lines.lines[row];
    const size_t column = std::min(index, line.end) - line.begin;
    const double x = column < line.caretXs.size() ? line.caretXs[column] : line.left;
    const double dy = kGutter - lines.lines[first].top;
    return CaretPlace{x - hscroll(), line.top + dy, line.bottom() + dy};
}

void TextField::moveCaret(CaretMove move, bool extend)
{
    const TextLayout& lines = layout();
    size_t at = m_selection.end;
    const size_t from = std::min(m_selection.begin, m_selection.end), to = std::max(m_selection.begin, m_selection.end);
    const LayoutLine& line = lines.lines[lineOf(lines, at)];
    switch (move) {
    case CaretMove::Left: at = !extend && from != to ? from : at > 0 ? at - 1 : 0; break;
    case CaretMove::Right: at = !extend && from != to ? to : std::min(at + 1, length()); break;
    case CaretMove::LineStart: at = line.begin; break;
    case CaretMove::LineEnd: at = line.end; break;
    case CaretMove::TextStart: at = 0; break;
    case CaretMove::TextEnd: at = length(); break;
    case CaretMove::Up:
    case CaretMove::Down: {
        const size_t row = lineOf(lines, at);
        const size_t next = move == CaretMove::Up ? (row > 0 ? row - 1 : row) : std::min(row + 1, lines.lines.size() - 1);
        const size_t column = std::min(at, line.end) - line.begin;
        const double x = column < line.caretXs.size() ? line.caretXs[column] : line.left;
        at = nearestInLine(lines.lines[next], x);
        break;
    }
    }
    m_selection.end = at;
    if (!extend)
        m_selection.begin = at;
}

void TextField::revealCaret()
{
    const TextLayout& lines = layout();
    const size_t row = lineOf(lines, m_selection.end);
    const int first = scroll() - 1, last = bottomScroll() - 1;
    if (int(row) < first)
        setScroll(double(row) + 1);
    else if (int(row) > last)
        setScroll(double(scroll() + int(row) - last));
    const LayoutLine& line = lines.lines[row];
    const size_t column = std::min(m_selection.end, line.end) - line.begin;
    const double x = column < line.caretXs.size() ? line.caretXs[column] : line.left;
    const double width = double(bounds().width()) / kTwipsPerPixel;
    const double shown = x - hscroll();
    if (shown > width - kGutter)
        setHScroll(x - width + 2 * kGutter);
    else if (shown < kGutter)
        setHScroll(std::max(0.0, x - kGutter));
}

} // namespace flash::text
