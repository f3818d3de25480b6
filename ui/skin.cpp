#include "ui/skin.h"

#include <QImage>

namespace vf::ui {

QString skinPicturePath(const QString& name)
{
    return QStringLiteral(":/skin/%1.png").arg(name);
}

QPixmap skinPicture(const QString& name)
{
    // Loaded through QImage so that every owner gets a picture of its own
    // rather than one out of the pixmap cache.
    const QImage image(skinPicturePath(name));
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

} // namespace vf::ui
