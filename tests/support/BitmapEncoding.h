// Bitmap tag bodies made from QImages: lossless pixel packing, JPEG and PNG
// bytes, JPEG tables split from their image, alpha planes.
#pragma once

#include <QImage>

#include <cstdint>
#include <span>
#include <vector>

namespace swfw {

enum class LosslessFormat : uint8_t {
    ColorMapped8 = 3, // palette of at most 256 colours, rows padded to 4 bytes
    Rgb15 = 4,        // 5 bits per channel (DefineBitsLossless only), rows padded to 4 bytes
    Rgb32 = 5,        // one 32-bit pixel each; premultiplied ARGB in DefineBitsLossless2
};

enum class AlphaChannel { Without, With };

[[nodiscard]] std::vector<uint8_t> zlibCompress(std::span<const uint8_t> data);

// Body of DefineBitsLossless (Without) or DefineBitsLossless2 (With).
[[nodiscard]] std::vector<uint8_t> losslessBody(uint16_t id, const QImage& image, LosslessFormat format,
                                                AlphaChannel alpha);

[[nodiscard]] std::vector<uint8_t> jpegBytes(const QImage& image, int quality);
[[nodiscard]] std::vector<uint8_t> pngBytes(const QImage& image);
// A GIF of an image with at most 256 colours (Qt reads GIF but does not write it).
[[nodiscard]] std::vector<uint8_t> gifBytes(const QImage& image);

// A JPEG file cut in two, as DefineBits and JPEGTables store it: the tables
// (quantisation and Huffman) and the rest, each between SOI and EOI markers.
struct SplitJpeg {
    std::vector<uint8_t> tables;
    std::vector<uint8_t> image;
};
[[nodiscard]] SplitJpeg splitJpegTables(std::span<const uint8_t> jpeg);

// The image's alpha channel, one byte per pixel, zlib-compressed.
[[nodiscard]] std::vector<uint8_t> alphaPlane(const QImage& image);

} // namespace swfw
