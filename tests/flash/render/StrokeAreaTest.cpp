// The kept stroke area: it must paint exactly what a pen stroke paints, and be
// rebuilt whenever the pen changes.
#include "flash/render/StrokeArea.h"

#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace flash {
namespace {

QPainterPath curvedLine()
{
    QPainterPath path(QPointF(200, 1800));
    path.cubicTo(QPointF(400, -300), QPointF(1500, 2600), QPointF(1800, 300));
    path.quadTo(QPointF(1000, 900), QPointF(600, 1000));
    return path;
}

// Draws in twips under a twentieth scale with a small rotation, as shapes are drawn.
QImage paintWith(const std::function<void(QPainter&)>& draw)
{
    QImage image(110, 110, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(QTransform().translate(8, 4).rotate(7).scale(0.05, 0.05));
    draw(painter);
    return image;
}

TEST(StrokeArea, FillsTheSamePixelsAsTheStroke)
{
    const QPainterPath path = curvedLine();
    for (Qt::PenJoinStyle join : {Qt::RoundJoin, Qt::MiterJoin, Qt::BevelJoin}) {
        for (Qt::PenCapStyle cap : {Qt::RoundCap, Qt::FlatCap, Qt::SquareCap}) {
            const QPen pen(QBrush(QColor(20, 90, 200, 180)), 160, Qt::SolidLine, cap, join);
            const StrokeArea area;
            const QImage stroked = paintWith([&](QPainter& p) { p.strokePath(path, pen); });
            const QImage filled = paintWith([&](QPainter& p) { p.fillPath(area.along(path, pen, cap, cap), pen.brush()); });
            EXPECT_EQ(stroked, filled) << "join " << join << " cap " << cap;
        }
    }
}

// Many lines side by side are kept in pieces, which filled one after the
// other in an opaque colour paint what the whole area does.
TEST(StrokeArea, OpaquePiecesPaintWhatTheWholeDoes)
{
    QPainterPath hatching;
    for (int x = 100; x < 2000; x += 80) {
        hatching.moveTo(x, 50);
        hatching.lineTo(x + 40, 1900);
    }
    const QPen pen(QBrush(QColor(30, 30, 30)), 30, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const StrokeArea area;
    const auto pieces = area.piecesAlong(hatching, pen, Qt::RoundCap, Qt::RoundCap);
    EXPECT_GT(pieces.size(), 1u);
    const QImage whole = paintWith([&](QPainter& p) { p.fillPath(area.along(hatching, pen, Qt::RoundCap, Qt::RoundCap), pen.brush()); });
    const QImage pieceByPiece = paintWith([&](QPainter& p) {
        for (const QPainterPath& piece : pieces)
            p.fillPath(piece, pen.brush());
    });
    EXPECT_EQ(whole, pieceByPiece);
}

TEST(StrokeArea, FollowsThePenAndStartsEmptyWhenCopied)
{
    const QPainterPath path = curvedLine();
    QPen pen(Qt::black, 100, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const StrokeArea area;
    const QRectF thin = area.along(path, pen, Qt::RoundCap, Qt::RoundCap).boundingRect();
    pen.setWidthF(300);
    const QRectF wide = area.along(path, pen, Qt::RoundCap, Qt::RoundCap).boundingRect();
    EXPECT_GT(wide.width(), thin.width() + 150);
    const QRectF flat = area.along(path, pen, Qt::FlatCap, Qt::FlatCap).boundingRect();
    EXPECT_LT(flat.height(), wide.height());

    // A copy is made to change the path, so it must not keep the old area.
    StrokeArea copy = area;
    const QPainterPath shifted = path.translated(5000, 0);
    EXPECT_GT(copy.along(shifted, pen, Qt::FlatCap, Qt::FlatCap).boundingRect().left(), 4000);
}

} // namespace
} // namespace flash
