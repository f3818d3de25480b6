// Anti-aliased coverage of outlines, computed from the exact area each pixel
// has inside them.
#pragma once

#include <QRect>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <vector>

namespace flash {

enum class WindingRule : uint8_t { NonZero, EvenOdd };

// Lines are accumulated into a buffer of signed areas, one cell per pixel of a
// box: each line adds, to the cells it crosses, the share of the pixel that
// lies to its right within that row, signed by its direction. Summed along a
// row, the cells give each pixel's winding-weighted coverage. Only the cells a
// row's lines touch are read back, so a thin diagonal outline costs what its
// edges and its own pixels cost, not its bounding box; and unlike a rasterizer
// that keeps a row's cells in a sorted list, a long edge along a row costs no
// more per pixel than a short one.
class CoverageRaster {
public:
    // Starts over for outlines drawn into `box` (device pixels). Lines are
    // clipped to it: what lies left of the box still covers the pixels to its
    // right, as the outline's edge there would.
    void reset(QRect box);
    [[nodiscard]] QRect box() const { return m_box; }

    // One edge of a closed outline, in device pixels. Edges that are not
    // finite are left out.
    void addLine(double x0, double y0, double x1, double y1);

    // Reads back each row that has coverage, top to bottom, as runs of pixels
    // of one coverage (0 to 255): `sink(y, x, length, coverage)`, with runs of
    // zero coverage left out. Leaves the buffer cleared.
    template<typename Sink>
    void sweep(WindingRule rule, Sink&& sink)
    {
        for (int row = m_firstRow; row <= m_lastRow; ++row) {
            if (m_rowFirst[size_t(row)] == kUntouched)
                continue;
            float* cells = m_cells.data() + ptrdiff_t(row) * m_stride;
            const int first = m_rowFirst[size_t(row)];
            const int last = m_rowLast[size_t(row)];
            // Cells past the box's last pixel only close the row's sums; they are cleared unread.
            const int end = std::min(last, m_box.width() - 1);
            const int y = m_box.top() + row;
            float sum = 0;
            int x = first;
            while (x <= end) {
                sum += cells[x];
                cells[x] = 0;
                // The pixels after this one keep its coverage until the next cell a line touched.
                int next = x + 1;
                while (next + 4 <= end + 1 && isZero4(cells + next))
                    next += 4;
                while (next <= end && cells[next] == 0.0f)
                    ++next;
                if (const uint8_t coverage = coverageByte(sum, rule))
                    sink(y, m_box.left() + x, next - x, coverage);
                x = next;
            }
            std::fill(cells + std::max(first, end + 1), cells + last + 1, 0.0f);
            m_rowFirst[size_t(row)] = kUntouched;
            m_rowLast[size_t(row)] = -1;
        }
        m_firstRow = m_box.height();
        m_lastRow = -1;
    }

private:
    static constexpr int kUntouched = INT_MAX;

    void addClippedLine(float x0, float y0, float x1, float y1);
    // Four cells at once, by their bits (a cell holding minus zero reads as touched, which is harmless).
    [[nodiscard]] static bool isZero4(const float* cells)
    {
        uint32_t bits[4];
        std::memcpy(bits, cells, sizeof bits);
        return (bits[0] | bits[1] | bits[2] | bits[3]) == 0;
    }
    [[nodiscard]] static uint8_t coverageByte(float sum, WindingRule rule)
    {
        float area = std::fabs(sum);
        if (rule == WindingRule::EvenOdd && area > 1.0f) {
            area = std::fmod(area, 2.0f);
            if (area > 1.0f)
                area = 2.0f - area;
        }
        return area >= 1.0f ? 255 : uint8_t(area * 255.0f + 0.5f);
    }

    QRect m_box;
    int m_stride = 0;             // cells per row: the box's width and two past its right edge
    std::vector<float> m_cells;   // m_box.height() rows of m_stride cells
    std::vector<int> m_rowFirst;  // per row, the first touched cell (or INT_MAX)
    std::vector<int> m_rowLast;   // per row, the last touched cell (or -1)
    int m_firstRow = 0;
    int m_lastRow = -1;
};

} // namespace flash
