// Frames written as PNG files, favouring speed over size.
#pragma once

#include <QImage>
#include <QString>

namespace flashtool {

// Writes an opaque picture as an 8-bit RGB PNG. Frames are written for
// looking at and comparing, often hundreds at a time: libpng's fast mode
// writes one in a quarter of the time of its default filters and level, for a
// file about a third larger.
bool writeOpaquePng(const QImage& image, const QString& path);

} // namespace flashtool
