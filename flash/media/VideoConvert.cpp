// Colour conversion of decoded video, in 16.16 fixed point.
#include "flash/media/VideoConvert.h"

#include <algorithm>
#include <cstddef>

namespace flash {

namespace {

uint8_t clampByte(int v)
{
    return uint8_t(std::clamp(v, 0, 255));
}

uint32_t premultiplied(uint32_t opaque, int alpha)
{
    if (alpha >= 255)
        return opaque;
    auto scale = [alpha](uint32_t c) { return (c * uint32_t(alpha) + 127) / 255; };
    return uint32_t(alpha) << 24 | scale((opaque >> 16) & 0xff) << 16 | scale((opaque >> 8) & 0xff) << 8
        | scale(opaque & 0xff);
}

} // namespace

uint32_t yuvToRgb(int y, int u, int v)
{
    // 255/219 for luma; chroma factors of BT.601 scaled by 255/224.
    const int c = (y - 16) * 76309;
    const int d = u - 128;
    const int e = v - 128;
    const int round = 1 << 15;
    const uint8_t r = clampByte((c + 104597 * e + round) >> 16);
    const uint8_t g = clampByte((c - 25675 * d - 53279 * e + round) >> 16);
    const uint8_t b = clampByte((c + 132201 * d + round) >> 16);
    return 0xff000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

VideoPicture convertYuv420(int width, int height, Plane y, Plane u, Plane v, Plane alpha)
{
    VideoPicture picture = VideoPicture::blank(width, height);
    if (picture.isEmpty() || !y.data || !u.data || !v.data)
        return picture;
    for (int row = 0; row < height; ++row) {
        const uint8_t* yRow = y.data + ptrdiff_t(row) * y.stride;
        const uint8_t* uRow = u.data + ptrdiff_t(row / 2) * u.stride;
        const uint8_t* vRow = v.data + ptrdiff_t(row / 2) * v.stride;
        const uint8_t* aRow = alpha.data ? alpha.data + ptrdiff_t(row) * alpha.stride : nullptr;
        uint32_t* out = picture.pixels.data() + size_t(row) * size_t(width);
        for (int col = 0; col < width; ++col) {
            const uint32_t rgb = yuvToRgb(yRow[col], uRow[col / 2], vRow[col / 2]);
            out[col] = aRow ? premultiplied(rgb, aRow[col]) : rgb;
        }
    }
    return picture;
}

VideoPicture convertPacked24(int width, int height, Plane pixels, PackedOrder order)
{
    VideoPicture picture = VideoPicture::blank(width, height);
    if (picture.isEmpty() || !pixels.data)
        return picture;
    const int red = order == PackedOrder::Rgb ? 0 : 2;
    for (int row = 0; row < height; ++row) {
        const uint8_t* in = pixels.data + ptrdiff_t(row) * pixels.stride;
        uint32_t* out = picture.pixels.data() + size_t(row) * size_t(width);
        for (int col = 0; col < width; ++col, in += 3)
            out[col] = 0xff000000u | uint32_t(in[red]) << 16 | uint32_t(in[1]) << 8 | in[2 - red];
    }
    return picture;
}

} // namespace flash
