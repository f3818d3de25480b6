// The inner loop of the box blur: one pass down the columns of a plane.
#pragma once

#include "flash/render/filters/BoxBlur.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace flash {

// Buffers a column pass reuses from one pass to the next.
struct ColumnPassScratch {
    std::vector<int32_t> sums;
    std::vector<uint16_t> narrowSums;
    std::vector<uint8_t> zeros;
};

// One pass of `kernel` down every byte column: `rows` rows of `lanes` bytes
// from `src` into `dst` (which must not overlap). Rows beyond the plane count
// as zeros.
void blurColumnPass(const uint8_t* src, ptrdiff_t srcStride, uint8_t* dst, ptrdiff_t dstStride, size_t lanes,
                    int rows, const BoxKernel& kernel, ColumnPassScratch& scratch);

} // namespace flash
