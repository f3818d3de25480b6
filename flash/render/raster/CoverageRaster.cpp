#include "flash/render/raster/CoverageRaster.h"

#include <algorithm>
#include <array>

namespace flash {

void CoverageRaster::reset(QRect box)
{
    // Cells are left cleared by each sweep; a reset without one clears what is left.
    for (int row = m_firstRow; row <= m_lastRow; ++row) {
        const int first = m_rowFirst[size_t(row)];
        const int last = m_rowLast[size_t(row)];
        if (first != kUntouched) {
            std::fill_n(m_cells.begin() + ptrdiff_t(row) * m_stride + first, last - first + 1, 0.0f);
            std::fill_n(m_touched.begin() + ptrdiff_t(row) * m_wordsPerRow + first / 64, last / 64 - first / 64 + 1, 0);
        }
        m_rowFirst[size_t(row)] = kUntouched;
        m_rowLast[size_t(row)] = -1;
    }
    m_box = box.isValid() ? box : QRect();
    m_stride = m_box.width() + 2;
    m_wordsPerRow = (m_stride + 63) / 64;
    const size_t rows = size_t(m_box.height());
    if (m_cells.size() < rows * size_t(m_stride))
        m_cells.resize(rows * size_t(m_stride), 0.0f);
    if (m_touched.size() < rows * size_t(m_wordsPerRow))
        m_touched.resize(rows * size_t(m_wordsPerRow), 0);
    if (m_rowFirst.size() < rows) {
        m_rowFirst.resize(rows, kUntouched);
        m_rowLast.resize(rows, -1);
    }
    m_firstRow = m_box.height();
    m_lastRow = -1;
}

void CoverageRaster::addLine(double x0, double y0, double x1, double y1)
{
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1)) || y0 == y1)
        return;
    x0 -= m_box.left();
    x1 -= m_box.left();
    y0 -= m_box.top();
    y1 -= m_box.top();
    const double width = m_box.width();
    const double height = m_box.height();
    if (std::min(x0, x1) >= 0 && std::max(x0, x1) <= width && std::min(y0, y1) >= 0 && std::max(y0, y1) <= height) {
        addClippedLine(float(x0), float(y0), float(x1), float(y1));
        return;
    }
    // Only the rows of the box matter: the part of the line above or below them is dropped.
    // (A line right of the box stays, pressed onto its right edge: it closes the sums of its rows.)
    if (std::max(y0, y1) <= 0 || std::min(y0, y1) >= height)
        return;
    double t0 = 0;
    double t1 = 1;
    const double dy = y1 - y0;
    const double tTop = (0 - y0) / dy;
    const double tBottom = (height - y0) / dy;
    t0 = std::max(t0, std::min(tTop, tBottom));
    t1 = std::min(t1, std::max(tTop, tBottom));
    if (t0 >= t1)
        return;
    const double dx = x1 - x0;
    auto pointAt = [&](double t) { return std::array<double, 2>{x0 + dx * t, std::clamp(y0 + dy * t, 0.0, height)}; };
    // Split where the line crosses the box's left and right edges; a part outside
    // is pressed flat onto that edge, which covers the box's pixels just as it did.
    std::array<double, 4> cuts{t0, t1, t1, t1};
    size_t count = 1;
    if (dx != 0) {
        for (const double edge : {0.0, width}) {
            const double t = (edge - x0) / dx;
            if (t > t0 && t < t1)
                cuts[count++] = t;
        }
        if (count == 3 && cuts[1] > cuts[2])
            std::swap(cuts[1], cuts[2]);
    }
    cuts[count] = t1;
    for (size_t i = 0; i < count; ++i) {
        const auto from = pointAt(cuts[i]);
        const auto to = pointAt(cuts[i + 1]);
        addClippedLine(float(std::clamp(from[0], 0.0, width)), float(from[1]), float(std::clamp(to[0], 0.0, width)),
                       float(to[1]));
    }
}

void CoverageRaster::addClippedLine(float x0, float y0, float x1, float y1)
{
    if (y0 == y1)
        return;
    float direction = 1.0f;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        direction = -1.0f;
    }
    const float width = float(m_box.width());
    const float dxdy = (x1 - x0) / (y1 - y0);
    const int firstRow = std::max(0, int(y0));
    const int endRow = std::min(m_box.height(), int(std::ceil(y1)));
    float* cells = m_cells.data() + ptrdiff_t(firstRow) * m_stride;
    uint64_t* touched = m_touched.data() + ptrdiff_t(firstRow) * m_wordsPerRow;
    int* rowFirst = m_rowFirst.data();
    int* rowLast = m_rowLast.data();
    float x = x0;
    for (int row = firstRow; row < endRow; ++row, cells += m_stride, touched += m_wordsPerRow) {
        const float rowHeight = std::min(float(row + 1), y1) - std::max(float(row), y0);
        const float xNext = std::clamp(x + dxdy * rowHeight, 0.0f, width);
        const float area = rowHeight * direction;
        const float left = std::min(x, xNext);
        const float right = std::max(x, xNext);
        // Both are at least 0: truncation is their floor.
        const int leftCell = int(left);
        const float leftFloor = float(leftCell);
        const int rightCell = int(right) + (float(int(right)) < right ? 1 : 0);
        int lastCell = 0;
        if (rightCell <= leftCell + 1) {
            // Within one pixel: its share right of the line's middle, the rest to the next.
            const float middle = 0.5f * (x + xNext) - leftFloor;
            cells[leftCell] += area - area * middle;
            cells[leftCell + 1] += area * middle;
            lastCell = leftCell + 1;
        } else {
            // Across several pixels: the covered share grows linearly between the ends.
            const float slope = 1.0f / (right - left);
            const float leftFraction = left - leftFloor;
            const float firstShare = 0.5f * slope * (1.0f - leftFraction) * (1.0f - leftFraction);
            const float rightFraction = right - float(rightCell) + 1.0f;
            const float lastShare = 0.5f * slope * rightFraction * rightFraction;
            cells[leftCell] += area * firstShare;
            if (rightCell == leftCell + 2) {
                cells[leftCell + 1] += area * (1.0f - firstShare - lastShare);
            } else {
                const float secondShare = slope * (1.5f - leftFraction);
                cells[leftCell + 1] += area * (secondShare - firstShare);
                for (int cell = leftCell + 2; cell < rightCell - 1; ++cell)
                    cells[cell] += area * slope;
                const float beforeLast = secondShare + float(rightCell - leftCell - 3) * slope;
                cells[rightCell - 1] += area * (1.0f - beforeLast - lastShare);
            }
            cells[rightCell] += area * lastShare;
            lastCell = rightCell;
        }
        touch(touched, leftCell, lastCell);
        rowFirst[row] = std::min(rowFirst[row], leftCell);
        rowLast[row] = std::max(rowLast[row], lastCell);
        x = xNext;
    }
    if (firstRow < endRow) {
        m_firstRow = std::min(m_firstRow, firstRow);
        m_lastRow = std::max(m_lastRow, endRow - 1);
    }
}

} // namespace flash
