#include "tiles.h"

#include "palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTransform>

namespace skinpaint {

QImage lightTile(int width, int height)
{
    QImage tile(width, height, QImage::Format_RGB32);
    QPainter painter(&tile);
    painter.fillRect(0, 0, width, 2, kNearWhite);
    QLinearGradient body(0, 2, 0, height - 2);
    body.setColorAt(0.0, kTileMidBlue);
    body.setColorAt(0.55, kTileMidBlue.lighter(135));
    body.setColorAt(1.0, kNearWhite);
    painter.fillRect(0, 2, width, height - 4, body);
    painter.fillRect(0, height - 2, width, 2, kSaturatedBlue);
    return tile;
}

QImage uprightLightTile(int width, int height)
{
    // Lying tile of swapped size turned a quarter clockwise: its bottom band
    // ends up along the left edge.
    return lightTile(height, width).transformed(QTransform().rotate(90));
}

QImage darkTile(int width, int height)
{
    QImage tile(width, height, QImage::Format_RGB32);
    QPainter painter(&tile);
    painter.fillRect(0, 0, width, 1, kSaturatedBlue.lighter(120));
    QLinearGradient body(0, 1, 0, height);
    body.setColorAt(0.0, Qt::black);
    body.setColorAt(0.45, QColor(0x02, 0x1E, 0x40));
    body.setColorAt(1.0, kSaturatedBlue);
    painter.fillRect(0, 1, width, height - 1, body);
    return tile;
}

QImage playTile(int width, int height)
{
    QImage tile = lightTile(width, height);
    QPainter painter(&tile);
    painter.fillRect(0, 0, 2, height, kSaturatedBlue);
    painter.fillRect(width - 2, 0, 2, height, kSaturatedBlue);
    return tile;
}

} // namespace skinpaint
