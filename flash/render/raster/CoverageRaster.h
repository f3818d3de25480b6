// Anti-aliased coverage of outlines, computed from the exact area each pixel
// has inside them.
#pragma once

#include <QRect>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

namespace flash {

enum class WindingRule : uint8_t { NonZero, EvenOdd };

// Lines are accumulated into a buffer of signed areas, one cell per pixel of a
// box: each line adds, to the cells it crosses, the share of the pixel that
// lies to its right within that row, signed by its direction. Summed along a
// row, the cells give each pixel's winding-weighted coverage. Each row keeps a
// bit per cell a line touched, and only those are read back: between them,
// pixels keep one coverage and are handed on as a run. So an outline costs
// what its edges cost, not its bounding box; and unlike a rasterizer that keeps
// a row's cells in a sorted list, a long edge along a row costs no more per
// pixel than a short one.
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
            const int first = m_rowFirst[size_t(row)];
            const int last = m_rowLast[size_t(row)];
            if (first == kUntouched)
                continue;
            float* cells = m_cells.data() + ptrdiff_t(row) * m_stride;
            uint64_t* touched = m_touched.data() + ptrdiff_t(row) * m_wordsPerRow;
            const int end = m_box.width(); // the first cell past the box's pixels
            const int y = m_box.top() + row;
            float sum = 0;
            int from = -1; // the pixel the running sum covers from
            // Between two touched cells, pixels keep the coverage of the first.
            auto reach = [&](int to) {
                if (from < 0)
                    return;
                if (const uint8_t coverage = coverageByte(sum, rule))
                    sink(y, m_box.left() + from, to - from, coverage);
            };
            bool pastEnd = false;
            for (int word = first / 64; word <= last / 64; ++word) {
                for (uint64_t bits = touched[word]; bits != 0; bits &= bits - 1) {
                    const int cell = word * 64 + std::countr_zero(bits);
                    if (cell >= end) {
                        pastEnd = true; // it only closes the row's sums
                    } else {
                        reach(cell);
                        sum += cells[cell];
                        from = cell;
                    }
                    cells[cell] = 0;
                }
                touched[word] = 0;
            }
            reach(pastEnd ? end : from + 1);
            m_rowFirst[size_t(row)] = kUntouched;
            m_rowLast[size_t(row)] = -1;
        }
        m_firstRow = m_box.height();
        m_lastRow = -1;
    }

private:
    static constexpr int kUntouched = INT_MAX;

    void addClippedLine(float x0, float y0, float x1, float y1);
    // Marks cells `from` to `to` of a row as touched.
    static void touch(uint64_t* row, int from, int to)
    {
        const int firstWord = from / 64;
        const int lastWord = to / 64;
        const uint64_t head = ~uint64_t(0) << (from % 64);
        const uint64_t tail = ~uint64_t(0) >> (63 - to % 64);
        if (firstWord == lastWord) {
            row[firstWord] |= head & tail;
            return;
        }
        row[firstWord] |= head;
        for (int word = firstWord + 1; word < lastWord; ++word)
            row[word] = ~uint64_t(0);
        row[lastWord] |= tail;
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
    std::vector<uint64_t> m_touched; // m_box.height() rows of m_wordsPerRow: one bit per cell a line touched
    int m_wordsPerRow = 0;
    std::vector<int> m_rowFirst;  // per row, the first touched cell (or INT_MAX)
    std::vector<int> m_rowLast;   // per row, the last touched cell (or -1)
    int m_firstRow = 0;
    int m_lastRow = -1;
};

} // namespace flash
