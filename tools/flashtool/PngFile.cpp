#include "PngFile.h"

#include <QFile>

#include <png.h>

namespace flashtool {

bool writeOpaquePng(const QImage& image, const QString& path)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return false;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(rgb.width());
    png.height = png_uint_32(rgb.height());
    png.format = PNG_FORMAT_RGB;
    png.flags = PNG_IMAGE_FLAG_FAST;
    const bool written = png_image_write_to_file(&png, QFile::encodeName(path).constData(), 0, rgb.constBits(),
                                                 png_int_32(rgb.bytesPerLine()), nullptr);
    png_image_free(&png);
    return written;
}

} // namespace flashtool
