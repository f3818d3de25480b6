// Decoded planes to premultiplied ARGB: YUV 4:2:0 (with or without alpha) and packed RGB.
#pragma once

#include "flash/model/VideoPicture.h"

#include <cstdint>

namespace flash {

// One plane of a decoded picture: its first byte and the distance between rows.
struct Plane {
    const uint8_t* data = nullptr;
    int stride = 0;
};

// Limited-range BT.601 YUV 4:2:0, each chroma sample covering 2 x 2 pixels;
// `alpha` (full resolution) may be empty for opaque pictures.
[[nodiscard]] VideoPicture convertYuv420(int width, int height, Plane y, Plane u, Plane v, Plane alpha = {});

enum class PackedOrder : uint8_t { Bgr, Rgb };
// Packed 24-bit pixels, opaque.
[[nodiscard]] VideoPicture convertPacked24(int width, int height, Plane pixels, PackedOrder order);

// One limited-range BT.601 sample to 0xFFRRGGBB.
[[nodiscard]] uint32_t yuvToRgb(int y, int u, int v);

} // namespace flash
