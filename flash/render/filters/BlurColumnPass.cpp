// Each byte column keeps a running sum of the rows under the box: adding the
// row entering it and dropping the row leaving it costs the same for any box
// size. Output = (sum * weight + fractional taps * edge weight) / 65536,
// rounded. With SSE2, sixteen columns go at a time on 16-bit sums, which hold
// boxes of up to 255 rows; wider boxes, the last few columns, and other
// processors take the plain loop, which gives the same values.
#include "flash/render/filters/BlurColumnPass.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace flash {
namespace {

constexpr uint32_t kHalf = 1u << (BoxKernel::kShift - 1);

uint8_t weighted(uint32_t sum, uint32_t edges, const BoxKernel& k)
{
    return uint8_t(std::min<uint32_t>(255, (sum * k.weight + edges * k.edgeWeight + kHalf) >> BoxKernel::kShift));
}

// The rows a pass reads for output row y.
struct RowWindow {
    const uint8_t* entering; // y + reach: added before y is written
    const uint8_t* leaving;  // y - reach: dropped after
    const uint8_t* above;    // y - reach - 1: fractional tap
    const uint8_t* below;    // y + reach + 1: fractional tap
};

#if defined(__SSE2__)
constexpr int kMaxVectorReach = 127; // 255 * 255 fits a 16-bit sum

// Columns [0, count) of one row, count a multiple of 16; sums are 16-bit here.
void vectorRow(const RowWindow& w, uint8_t* out, uint16_t* sums, size_t count, const BoxKernel& k)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i weight = _mm_set1_epi16(short(k.weight));
    const __m128i edgeWeight = _mm_set1_epi16(short(k.edgeWeight));
    const __m128i half = _mm_set1_epi32(int(kHalf));
    auto load = [](const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); };
    // Full 32-bit products of 16-bit lanes, low four or high four.
    auto product = [](__m128i lo, __m128i hi, bool high) {
        return high ? _mm_unpackhi_epi16(lo, hi) : _mm_unpacklo_epi16(lo, hi);
    };
    for (size_t i = 0; i < count; i += 16) {
        const __m128i entering = load(w.entering + i), leaving = load(w.leaving + i);
        const __m128i above = load(w.above + i), below = load(w.below + i);
        __m128i packed[2];
        for (int half8 = 0; half8 < 2; ++half8) {
            auto widen = [&](__m128i v) { return half8 ? _mm_unpackhi_epi8(v, zero) : _mm_unpacklo_epi8(v, zero); };
            uint16_t* sum8 = sums + i + 8 * half8;
            const __m128i sum = _mm_add_epi16(load(sum8), widen(entering));
            const __m128i edges = _mm_add_epi16(widen(above), widen(below));
            const __m128i sumLo = _mm_mullo_epi16(sum, weight), sumHi = _mm_mulhi_epu16(sum, weight);
            const __m128i edgeLo = _mm_mullo_epi16(edges, edgeWeight), edgeHi = _mm_mulhi_epu16(edges, edgeWeight);
            __m128i value[2];
            for (int q = 0; q < 2; ++q) {
                const __m128i total = _mm_add_epi32(product(sumLo, sumHi, q), product(edgeLo, edgeHi, q));
                value[q] = _mm_srli_epi32(_mm_add_epi32(total, half), BoxKernel::kShift);
            }
            packed[half8] = _mm_packs_epi32(value[0], value[1]);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sum8), _mm_sub_epi16(sum, widen(leaving)));
        }
        // Saturating: a sum of rounded weights a hair over one stays at 255.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(packed[0], packed[1]));
    }
}
#endif

} // namespace

void blurColumnPass(const uint8_t* src, ptrdiff_t srcStride, uint8_t* dst, ptrdiff_t dstStride, size_t lanes,
                    int rows, const BoxKernel& kernel, ColumnPassScratch& scratch)
{
    const int n = kernel.reach;
    scratch.zeros.assign(lanes, 0);
    scratch.sums.assign(lanes, 0);
    int32_t* sums = scratch.sums.data();
    auto row = [&](int y) { return y >= 0 && y < rows ? src + y * srcStride : scratch.zeros.data(); };
    // The sums start as those of row -1's box without its last row.
    for (int y = 0; y < n && y < rows; ++y) {
        const uint8_t* in = row(y);
        for (size_t i = 0; i < lanes; ++i)
            sums[i] += in[i];
    }
    size_t vectorLanes = 0;
#if defined(__SSE2__)
    if (n <= kMaxVectorReach) {
        vectorLanes = lanes & ~size_t(15);
        scratch.narrowSums.assign(sums, sums + vectorLanes);
    }
#endif
    for (int y = 0; y < rows; ++y) {
        const RowWindow w{row(y + n), row(y - n), row(y - n - 1), row(y + n + 1)};
        uint8_t* out = dst + y * dstStride;
#if defined(__SSE2__)
        if (vectorLanes)
            vectorRow(w, out, scratch.narrowSums.data(), vectorLanes, kernel);
#endif
        for (size_t i = vectorLanes; i < lanes; ++i) {
            const int32_t sum = sums[i] + w.entering[i];
            out[i] = weighted(uint32_t(sum), uint32_t(w.above[i]) + w.below[i], kernel);
            sums[i] = sum - w.leaving[i];
        }
    }
}

} // namespace flash
