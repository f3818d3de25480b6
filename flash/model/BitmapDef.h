// Bitmap definitions, kept encoded: the renderer decodes each one once.
#pragma once

#include <cstdint>
#include <vector>

namespace flash {

enum class BitmapEncoding : uint8_t {
    JpegWithTables,  // DefineBits: JPEG data completed by the movie's JPEGTables
    Image,           // DefineBitsJPEG2: a whole JPEG, PNG or GIF file
    ImageWithAlpha,  // DefineBitsJPEG3/4: JPEG (or PNG/GIF) plus a zlib alpha plane
    Lossless,        // DefineBitsLossless: zlib colour-mapped or direct pixels, no alpha
    LosslessAlpha,   // DefineBitsLossless2: zlib colour-mapped RGBA or premultiplied ARGB
};

struct BitmapDef {
    uint16_t id = 0;
    BitmapEncoding encoding = BitmapEncoding::Image;
    std::vector<uint8_t> data;      // image bytes, or the zlib stream for lossless
    std::vector<uint8_t> alphaData; // ImageWithAlpha: zlib stream of one byte per pixel
    uint16_t deblocking = 0;        // DefineBitsJPEG4
    // Lossless only:
    uint8_t losslessFormat = 0;     // 3 = 8-bit colour-mapped, 4 = 15-bit, 5 = 24/32-bit
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t colorTableSize = 0;    // entries in the colour table (stored value + 1)
};

} // namespace flash
