// The pixels of a script's BitmapData: premultiplied ARGB (0xAARRGGBB), rows
// packed, as the runtime keeps them. The BitmapData owns it; clips a script
// attached it to show it, and the renderer reads it as it is at each paint.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace flash {

struct BitmapSurface {
    int width = 0;
    int height = 0;
    bool transparent = true;      // false: every pixel is opaque (alpha always 0xFF)
    std::vector<uint32_t> pixels; // width * height, premultiplied
    uint64_t serial = 0;          // counts changes, so that viewers know a picture is stale

    [[nodiscard]] bool isEmpty() const { return width <= 0 || height <= 0 || pixels.empty(); }
    [[nodiscard]] uint32_t* row(int y) { return pixels.data() + size_t(y) * size_t(width); }
    [[nodiscard]] const uint32_t* row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
    void changed() { ++serial; }
};

// How a clip that shows a surface places its pixels: on whole view pixels when
// it is neither scaled nor turned (Auto), always (Always), or where the matrix
// puts them (Never).
enum class PixelSnapping : uint8_t { Auto, Always, Never };

} // namespace flash
