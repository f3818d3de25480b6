#include "symbols.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace skinpaint {
namespace {

// The light tiles leave rows 2 to height-3 for the symbol.
constexpr double kTileTop = 2.0;
constexpr double kTileBand = 2.0;

void fillTriangle(QPainter& painter, QPointF tip, double baseX, double halfHeight, const QColor& color)
{
    const QPolygonF triangle{QPointF(baseX, tip.y() - halfHeight), QPointF(baseX, tip.y() + halfHeight), tip};
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPolygon(triangle);
}

// Triangles pointing left (direction -1) or right (+1), centred on the tile.
void drawTriangles(QPainter& painter, QSize size, const QColor& color, int count, int direction)
{
    const double middleY = kTileTop + (size.height() - kTileTop - kTileBand) / 2.0;
    const double width = 7.0;
    const double halfHeight = 4.5;
    const double total = width * count;
    double left = (size.width() - total) / 2.0;
    for (int i = 0; i < count; ++i, left += width) {
        const double base = direction > 0 ? left : left + width;
        const double tip = direction > 0 ? left + width : left;
        fillTriangle(painter, QPointF(tip, middleY), base, halfHeight, color);
    }
}

void drawCharacter(QPainter& painter, QSize size, const QColor& color, const QString& character)
{
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setPixelSize(23);
    QPainterPath path;
    path.addText(0, 0, font, character);
    const QRectF bounds = path.boundingRect();
    const QPointF centre(size.width() / 2.0, kTileTop + (size.height() - kTileTop - kTileBand) / 2.0);
    path.translate(centre - bounds.center());
    painter.setRenderHint(QPainter::Antialiasing);
    // Thin Song strokes read poorly at this size: draw them heavier.
    painter.setPen(QPen(color, 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(color);
    painter.drawPath(path);
}

QPainterPath folderShape()
{
    QPainterPath folder;
    folder.moveTo(9.5, 4.5);
    folder.lineTo(13.5, 4.5);
    folder.lineTo(15.0, 6.0);
    folder.lineTo(20.5, 6.0);
    folder.lineTo(20.5, 13.5);
    folder.lineTo(9.5, 13.5);
    folder.closeSubpath();
    return folder;
}

} // namespace

void drawLetterA(QPainter& painter, QSize size, const QColor& color)
{
    const double middle = size.width() / 2.0;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPolyline(QPolygonF{QPointF(middle - 3.2, 14.5), QPointF(middle, 4.0), QPointF(middle + 3.2, 14.5)});
    painter.drawLine(QPointF(middle - 2.0, 11.0), QPointF(middle + 2.0, 11.0));
}

void drawMinimiseBar(QPainter& painter, QSize size, const QColor& color)
{
    painter.fillRect(QRect(5, size.height() - 6, size.width() - 10, 2), color);
}

void drawCross(QPainter& painter, QSize size, const QColor& color)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::FlatCap));
    const double a = 5.0;
    const double b = size.width() - 5.0;
    painter.drawLine(QPointF(a, a + 0.5), QPointF(b, b + 0.5));
    painter.drawLine(QPointF(b, a + 0.5), QPointF(a, b + 0.5));
}

void drawListTriangle(QPainter& painter, QSize size, const QColor& color)
{
    // The upright tile's band takes the two left columns.
    const double middleX = 2.0 + (size.width() - 2.0) / 2.0;
    fillTriangle(painter, QPointF(middleX + 3.5, size.height() / 2.0), middleX - 3.0, 6.0, color);
}

void drawQuanCharacter(QPainter& painter, QSize size, const QColor& color)
{
    drawCharacter(painter, size, color, QStringLiteral("全"));
}

void drawYinCharacter(QPainter& painter, QSize size, const QColor& color)
{
    drawCharacter(painter, size, color, QStringLiteral("隐"));
}

void drawDocument(QPainter& painter, QSize size, const QColor& color)
{
    const double left = size.width() / 2.0 - 4.5;
    const double top = 3.5;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(color, 1.0));
    painter.setBrush(Qt::NoBrush);
    // A page with its top-right corner folded down.
    painter.drawPolygon(QPolygonF{QPointF(left, top), QPointF(left + 6, top), QPointF(left + 9, top + 3),
                                  QPointF(left + 9, top + 11), QPointF(left, top + 11)});
    painter.drawLine(QPointF(left + 6, top), QPointF(left + 6, top + 3));
    painter.drawLine(QPointF(left + 6, top + 3), QPointF(left + 9, top + 3));
    for (int line = 0; line < 3; ++line)
        painter.drawLine(QPointF(left + 2, top + 5 + 2 * line), QPointF(left + 7, top + 5 + 2 * line));
}

void drawFolderOutline(QPainter& painter, QSize, const QColor& color)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(color, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(folderShape());
    painter.drawLine(QPointF(9.5, 7.5), QPointF(20.5, 7.5));
}

void drawFolderFilled(QPainter& painter, QSize, const QColor& color)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(color, 1.0));
    painter.setBrush(color);
    painter.drawPath(folderShape());
}

void drawPlayTriangle(QPainter& painter, QSize size, const QColor& color)
{
    const double middleY = kTileTop + (size.height() - kTileTop - kTileBand) / 2.0;
    const double middleX = size.width() / 2.0;
    fillTriangle(painter, QPointF(middleX + 9.0, middleY), middleX - 7.0, 11.0, color);
}

void drawStepBack(QPainter& painter, QSize size, const QColor& color)
{
    drawTriangles(painter, size, color, 1, -1);
}

void drawStepForward(QPainter& painter, QSize size, const QColor& color)
{
    drawTriangles(painter, size, color, 1, +1);
}

void drawFastBack(QPainter& painter, QSize size, const QColor& color)
{
    drawTriangles(painter, size, color, 2, -1);
}

void drawFastForward(QPainter& painter, QSize size, const QColor& color)
{
    drawTriangles(painter, size, color, 2, +1);
}

void drawStopSquare(QPainter& painter, QSize size, const QColor& color)
{
    const int side = 9;
    const int top = 2 + (size.height() - 4 - side) / 2;
    painter.fillRect(QRect((size.width() - side) / 2, top, side, side), color);
}

} // namespace skinpaint
