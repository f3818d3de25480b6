// Decodes a movie's bitmap definitions into premultiplied QImages.
#pragma once

#include "flash/model/BitmapDef.h"

#include <QImage>
#include <span>

namespace flash {

// Largest picture decoded, in pixels (as large as players allow); bigger ones are treated as broken.
inline constexpr qint64 kMaxBitmapPixels = 4096LL * 4096LL;

// Returns a Format_ARGB32_Premultiplied image, or a null image when the data
// is broken, too big or in an encoding that cannot be read.
[[nodiscard]] QImage decodeBitmap(const BitmapDef& bitmap, std::span<const uint8_t> jpegTables);

// DefineBitsLossless 1 and 2 pixel data.
[[nodiscard]] QImage decodeLossless(const BitmapDef& bitmap);

} // namespace flash
