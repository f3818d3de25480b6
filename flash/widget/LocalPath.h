// File paths as the system spells them (bytes) and as text, without loss.
#pragma once

#include <QByteArray>
#include <QString>

namespace flash {

// File names are bytes, usually UTF-8 but not always. Text keeps every path:
// valid UTF-8 decodes as usual, and each byte 0x80-0xFF that is not part of a
// valid sequence becomes the lone surrogate U+DC80-U+DCFF, which no decoded
// text contains otherwise. Such text shows the byte as a replacement box.
QString pathFromLocalBytes(const QByteArray& bytes);

// The exact bytes of a path made by pathFromLocalBytes; any other text is
// written as UTF-8. A lone surrogate outside U+DC80-U+DCFF names no byte and
// is written as U+FFFD, as Qt writes it.
QByteArray localPathBytes(const QString& path);

} // namespace flash
