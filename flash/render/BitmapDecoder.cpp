// JPEG, PNG and GIF bitmaps (with their separate alpha planes) through Qt's readers.
#include "flash/render/BitmapDecoder.h"

#include "flash/render/Inflate.h"
#include "flash/render/JpegStream.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QLoggingCategory>

#include <limits>

namespace flash {

Q_LOGGING_CATEGORY(lcBitmap, "flash.render.bitmap", QtWarningMsg)

namespace {

QImage readImage(std::span<const uint8_t> bytes, const char* format)
{
    if (bytes.empty() || bytes.size() > size_t(std::numeric_limits<int>::max()))
        return {};
    QByteArray array = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&array);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxBitmapPixels)
        return {};
    QImage image = reader.read();
    if (image.isNull() || qint64(image.width()) * image.height() > kMaxBitmapPixels) {
        qCDebug(lcBitmap) << "unreadable embedded image:" << reader.errorString();
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// An embedded picture: PNG and GIF are read as they are, JPEG after repair.
QImage decodeEmbedded(std::span<const uint8_t> data, std::span<const uint8_t> tables, bool* isJpeg = nullptr)
{
    if (looksLikePng(data))
        return readImage(data, "PNG");
    if (looksLikeGif(data))
        return readImage(data, "GIF");
    if (isJpeg)
        *isJpeg = true;
    return readImage(mergeJpegStreams(tables, data), "JPEG");
}

// JPEG pictures carry their transparency as a separate plane of one byte per pixel.
QImage withAlphaPlane(QImage image, std::span<const uint8_t> alphaData)
{
    const size_t pixels = size_t(image.width()) * size_t(image.height());
    const auto alpha = inflateBounded(alphaData, pixels, pixels);
    if (!alpha)
        return image; // no usable plane: the picture stays opaque
    QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    const uint8_t* a = alpha->data();
    for (int y = 0; y < straight.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(straight.scanLine(y));
        for (int x = 0; x < straight.width(); ++x, ++a)
            line[x] = (line[x] & 0x00ffffffu) | (QRgb(*a) << 24);
    }
    return straight.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

QImage decodeBitmap(const BitmapDef& bitmap, std::span<const uint8_t> jpegTables)
{
    switch (bitmap.encoding) {
    case BitmapEncoding::JpegWithTables:
        return decodeEmbedded(bitmap.data, jpegTables);
    case BitmapEncoding::Image:
        return decodeEmbedded(bitmap.data, {});
    case BitmapEncoding::ImageWithAlpha: {
        bool isJpeg = false;
        QImage image = decodeEmbedded(bitmap.data, {}, &isJpeg);
        if (image.isNull() || !isJpeg || bitmap.alphaData.empty())
            return image;
        return withAlphaPlane(std::move(image), bitmap.alphaData);
    }
    case BitmapEncoding::Lossless:
    case BitmapEncoding::LosslessAlpha:
        return decodeLossless(bitmap);
    }
    return {};
}

} // namespace flash
