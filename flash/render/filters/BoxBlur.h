// Box blur with running sums: the blur of the filters, a box per pass,
// horizontal passes then vertical ones, on 8-bit channels.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>

namespace flash {

// Interleaved 8-bit channels: premultiplied ARGB (4) or a coverage mask (1).
struct PixelPlane {
    uint8_t* bits = nullptr;
    int width = 0, height = 0;
    int channels = 4;
    ptrdiff_t stride = 0; // bytes from one row to the next
};

// The blur of a filter in device pixels: a box `x` by `y` pixels, `passes` times.
struct BlurSize {
    double x = 0, y = 0;
    int passes = 1;
};

// One pass of a centred box `width` pixels wide: whole taps out to `reach` on
// each side and, when the width is not an odd whole number, a fractional tap
// just beyond them. Weights are in 1/65536 and sum to one, give or take
// their rounding.
struct BoxKernel {
    static constexpr int kShift = 16;
    int reach = 0;
    uint32_t weight = 1u << kShift;
    uint32_t edgeWeight = 0;

    [[nodiscard]] int extent() const { return reach + (edgeWeight ? 1 : 0); }
    [[nodiscard]] bool isIdentity() const { return extent() == 0; }
};

// Widths of one pixel or less (and NaN) leave the picture as it is.
[[nodiscard]] BoxKernel boxKernel(double width);

// How far a blur spreads a pixel along one axis, over all its passes.
[[nodiscard]] int blurExtent(double width, int passes);

// Blurs in place; pixels beyond the plane count as transparent.
void boxBlur(const PixelPlane& plane, const BlurSize& size);

// The same on a premultiplied ARGB32 image; other formats are left alone.
void boxBlur(QImage& image, const BlurSize& size);

} // namespace flash
