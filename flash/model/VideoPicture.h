// A decoded video frame as 32-bit premultiplied ARGB pixels (0xAARRGGBB, rows packed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace flash {

struct VideoPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // width * height

    [[nodiscard]] bool isEmpty() const { return width <= 0 || height <= 0; }
    [[nodiscard]] size_t byteSize() const { return pixels.size() * sizeof(uint32_t); }

    // A transparent picture: what a frame that cannot be decoded shows.
    [[nodiscard]] static VideoPicture blank(int width, int height)
    {
        VideoPicture picture;
        if (width > 0 && height > 0) {
            picture.width = width;
            picture.height = height;
            picture.pixels.assign(size_t(width) * size_t(height), 0);
        }
        return picture;
    }
};

} // namespace flash
