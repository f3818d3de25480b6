// Both directions run the same column pass (see BlurColumnPass.cpp): rows are
// blurred as the columns of the transposed plane.
#include "flash/render/filters/BoxBlur.h"

#include "flash/render/filters/BlurColumnPass.h"
#include "flash/render/filters/FilterLimits.h"
#include "flash/render/VectorState.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace flash {
namespace {

// A plane of `channels`-byte pixels held in a buffer of its own.
struct OwnedPlane {
    int width = 0, height = 0;
    std::vector<uint8_t> bytes;

    OwnedPlane(int w, int h, int channels) : width(w), height(h), bytes(size_t(w) * h * channels) { }
};

// Pixel (x, y) of `from` to (y, x) of `to`, in square tiles so that both
// sides stay in cache.
template <int C>
void transpose(const uint8_t* from, ptrdiff_t fromStride, int width, int height, uint8_t* to, ptrdiff_t toStride)
{
    constexpr int kTile = 32;
    for (int y0 = 0; y0 < height; y0 += kTile)
        for (int x0 = 0; x0 < width; x0 += kTile)
            for (int y = y0; y < std::min(height, y0 + kTile); ++y) {
                const uint8_t* in = from + y * fromStride;
                for (int x = x0; x < std::min(width, x0 + kTile); ++x)
                    std::memcpy(to + x * toStride + y * C, in + x * C, C);
            }
}

void transposePlane(const uint8_t* from, ptrdiff_t fromStride, int width, int height, int channels, uint8_t* to,
                    ptrdiff_t toStride)
{
    if (channels == 4)
        transpose<4>(from, fromStride, width, height, to, toStride);
    else
        transpose<1>(from, fromStride, width, height, to, toStride);
}

// `passes` column passes over `bits`, alternating with `spare`; the result
// ends in `bits`. The plane goes in strips of columns, all passes of a strip
// at once, so that the strip and its spare stay in cache between passes.
void columnPasses(uint8_t* bits, ptrdiff_t stride, size_t lanes, int rows, const BoxKernel& k, int passes,
                  std::vector<uint8_t>& spare, ColumnPassScratch& scratch)
{
    constexpr size_t kStripBytes = 256;
    spare.resize(std::min(lanes, kStripBytes) * rows);
    for (size_t first = 0; first < lanes; first += kStripBytes) {
        const size_t width = std::min(kStripBytes, lanes - first);
        uint8_t* strip = bits + first;
        const ptrdiff_t spareStride = ptrdiff_t(width);
        for (int pass = 0; pass < passes; ++pass) {
            if (pass % 2 == 0)
                blurColumnPass(strip, stride, spare.data(), spareStride, width, rows, k, scratch);
            else
                blurColumnPass(spare.data(), spareStride, strip, stride, width, rows, k, scratch);
        }
        if (passes % 2 == 1)
            for (int y = 0; y < rows; ++y)
                std::memcpy(strip + y * stride, spare.data() + y * spareStride, width);
    }
}

} // namespace

BoxKernel boxKernel(double width)
{
    width = std::min(limits::finiteOr(width, 0.0), limits::kMaxDeviceBlur);
    if (width <= 1.0)
        return {};
    const double radius = (width - 1.0) / 2.0;
    const double scale = double(1u << BoxKernel::kShift) / width;
    BoxKernel k;
    k.reach = int(radius);
    k.weight = uint32_t(std::min(65535l, std::lround(scale)));
    k.edgeWeight = uint32_t(std::lround((radius - k.reach) * scale));
    return k;
}

int blurExtent(double width, int passes)
{
    return boxKernel(width).extent() * std::clamp(passes, 0, limits::kMaxPasses);
}

void boxBlur(const PixelPlane& plane, const BlurSize& size)
{
    if (!plane.bits || plane.width <= 0 || plane.height <= 0 || (plane.channels != 1 && plane.channels != 4))
        return;
    const int passes = std::clamp(size.passes, 0, limits::kMaxPasses);
    if (passes == 0)
        return;
    clearUpperVectorState();
    const int c = plane.channels;
    std::vector<uint8_t> spare;
    ColumnPassScratch scratch;
    if (const BoxKernel k = boxKernel(size.x); !k.isIdentity()) {
        OwnedPlane turned(plane.height, plane.width, c);
        const ptrdiff_t turnedStride = ptrdiff_t(turned.width) * c;
        transposePlane(plane.bits, plane.stride, plane.width, plane.height, c, turned.bytes.data(), turnedStride);
        columnPasses(turned.bytes.data(), turnedStride, size_t(turnedStride), turned.height, k, passes, spare, scratch);
        transposePlane(turned.bytes.data(), turnedStride, turned.width, turned.height, c, plane.bits, plane.stride);
    }
    if (const BoxKernel k = boxKernel(size.y); !k.isIdentity())
        columnPasses(plane.bits, plane.stride, size_t(plane.width) * c, plane.height, k, passes, spare, scratch);
}

void boxBlur(QImage& image, const BlurSize& size)
{
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        return;
    boxBlur(PixelPlane{image.bits(), image.width(), image.height(), 4, image.bytesPerLine()}, size);
}

} // namespace flash
