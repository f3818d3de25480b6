#pragma once
// The skin pictures compiled into the program.

#include <QPixmap>
#include <QString>

namespace vf::ui {

// Loads a skin picture by name; a null pixmap if there is none.
QPixmap skinPicture(const QString& name);

// Resource path of a skin picture.
QString skinPicturePath(const QString& name);

} // namespace vf::ui
