// "demo-bitmaps-and-masks.swf": a lossless tile fills the stage, a daytime
// picture (JPEG with shared tables) sits in a frame, and a drifting circular
// mask reveals the same view at dusk (a second JPEG) with a soft glow on top.
#include "BlockFont.h"
#include "DemoMovies.h"
#include "SwfWriter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace demo {

using namespace swfw;

namespace {

constexpr double kWidth = 480, kHeight = 320;
constexpr int kFrames = 120;
constexpr double kPicX = 80, kPicY = 40, kPicW = 320, kPicH = 200;

enum Depth : uint16_t { Tiles = 1, Day, Mask, Dusk, Glow, Frame, Caption };

// A small diamond tile, made pixel by pixel.
QImage tile()
{
    QImage img(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int d = std::abs(x - 16) + std::abs(y - 16);
            const bool inner = d < 12;
            const int shade = 20 + (d * 3) % 24;
            img.setPixel(x, y, inner ? qRgb(38 + shade, 52 + shade, 92 + shade) : qRgb(26 + shade / 2, 34 + shade / 2, 62 + shade / 2));
        }
    return img;
}

// A landscape painted with QPainter, in day or dusk colours.
QImage landscape(bool dusk)
{
    QImage img(int(kPicW), int(kPicH), QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kPicH * 0.6);
    sky.setColorAt(0, dusk ? QColor(0x2b, 0x1a, 0x4a) : QColor(0x5d, 0xa9, 0xe9));
    sky.setColorAt(1, dusk ? QColor(0xf0, 0x72, 0x3c) : QColor(0xcf, 0xec, 0xff));
    p.fillRect(img.rect(), sky);
    QRadialGradient sun(dusk ? QPointF(230, 112) : QPointF(70, 50), 34);
    sun.setColorAt(0, dusk ? QColor(0xff, 0xe0, 0x8a) : QColor(0xff, 0xff, 0xe8));
    sun.setColorAt(1, dusk ? QColor(0xff, 0x8c, 0x42, 0) : QColor(0xff, 0xf1, 0x9c, 0));
    p.fillRect(img.rect(), sun);
    if (dusk) { // the first stars of the evening
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 250, 230, 210));
        for (int i = 0; i < 28; ++i)
            p.drawEllipse(QPointF((i * 89) % 320, 6 + (i * 37) % 70), 0.9 + (i % 3) * 0.4, 0.9 + (i % 3) * 0.4);
        p.setBrush(QColor(0xfb, 0xf3, 0xd5));
        p.drawEllipse(QPointF(262, 36), 13, 13);
        p.setBrush(QColor(0x2b, 0x1a, 0x4a));
        p.drawEllipse(QPointF(268, 31), 11, 11);
    }
    QPainterPath mountains;
    mountains.moveTo(0, 130);
    for (double x : {40.0, 95.0, 150.0, 210.0, 260.0, 320.0})
        mountains.lineTo(x, 130 - 55 * std::abs(std::sin(x / 37)));
    mountains.lineTo(320, 200);
    mountains.lineTo(0, 200);
    p.fillPath(mountains, dusk ? QColor(0x3a, 0x25, 0x4f) : QColor(0x4f, 0x77, 0x5c));
    QLinearGradient lake(0, 130, 0, 200);
    lake.setColorAt(0, dusk ? QColor(0x8a, 0x4a, 0x6a) : QColor(0x7f, 0xc8, 0xf8));
    lake.setColorAt(1, dusk ? QColor(0x1d, 0x14, 0x38) : QColor(0x2e, 0x6f, 0xa8));
    p.fillRect(QRectF(0, 150, kPicW, 50), lake);
    p.setPen(QPen(dusk ? QColor(0xff, 0xc0, 0x80, 140) : QColor(255, 255, 255, 150), 2));
    for (int i = 0; i < 6; ++i)
        p.drawLine(QPointF(40 + i * 45, 160 + i % 3 * 12), QPointF(70 + i * 45, 160 + i % 3 * 12));
    return img;
}

// A white glow fading out from the centre, kept with its alpha.
QImage glow()
{
    QImage img(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const double d = std::hypot(x - 31.5, y - 31.5) / 32;
            const int a = d >= 1 ? 0 : int(150 * (1 - d) * (1 - d));
            img.setPixel(x, y, qRgba(255, 250, 220, a));
        }
    return img;
}

ShapeBuilder picture(uint16_t bitmapId)
{
    return ShapeBuilder()
        .fill(FillStyle::bitmap(bitmapId, FillType::ClippedBitmap, kPicX, kPicY))
        .rect(kPicX, kPicY, kPicW, kPicH);
}

ShapeBuilder pictureFrame()
{
    return ShapeBuilder()
        .line(LineStyle{.widthPx = 6, .color = Color::rgb(0xf4e3c1), .join = Join::Miter, .miterLimit = 4})
        .rect(kPicX - 3, kPicY - 3, kPicW + 6, kPicH + 6);
}

} // namespace

DemoMovie bitmapsAndMasksMovie()
{
    SwfWriter w(8, kWidth, kHeight, 24);
    w.background(Color::rgb(0x1a2238));
    const uint16_t tileId = w.defineBitsLossless(tile(), LosslessFormat::Rgb32);
    const uint16_t dayId = w.defineBitsJpegWithTables(landscape(false), 88);
    const uint16_t duskId = w.defineBitsJpeg2(landscape(true), 88);
    const uint16_t glowId = w.defineBitsLossless2(glow());

    const uint16_t tilesShape = w.defineShape(ShapeBuilder()
        .fill(FillStyle::bitmap(tileId, FillType::RepeatingBitmap, 0, 0))
        .rect(0, 0, kWidth, kHeight));
    const uint16_t dayShape = w.defineShape(picture(dayId));
    const uint16_t duskShape = w.defineShape(picture(duskId));
    const uint16_t maskShape = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xffffff)).circle(0, 0, 70), 1);
    const uint16_t glowShape = w.defineShape(ShapeBuilder()
        .fill(FillStyle::bitmap(glowId, FillType::ClippedBitmap, -64, -64, 2))
        .rect(-64, -64, 128, 128));
    const uint16_t frameShape = w.defineShape(pictureFrame(), 4);
    const uint16_t fontId = w.defineFont(blockFont(), FontVersion::V3);
    const uint16_t captionId = w.defineText({TextRun{fontId, 18, Color::rgb(0xf4e3c1, 230), 108, 290, u"BITMAPS AND MASKS"}}, 2);

    w.place(Tiles, tilesShape);
    w.place(Day, dayShape);
    w.place(Placement{.depth = Mask, .characterId = maskShape, .matrix = Matrix{}, .clipDepth = Dusk});
    w.place(Dusk, duskShape);
    w.place(Glow, glowShape);
    w.place(Frame, frameShape);
    w.place(Caption, captionId);
    for (int frame = 0; frame < kFrames; ++frame) {
        const double t = 2 * std::numbers::pi * frame / kFrames;
        const double x = kPicX + kPicW / 2 + 120 * std::sin(t), y = kPicY + kPicH / 2 + 55 * std::sin(2 * t);
        const double size = 0.8 + 0.35 * std::cos(3 * t);
        w.move(Mask, Matrix::scaling(size).then(Matrix::translation(x, y)));
        w.move(Glow, Matrix::scaling(size).then(Matrix::translation(x, y)));
        w.showFrame();
    }
    return {"demo-bitmaps-and-masks.swf", w.finish(Compression::Zlib)};
}

} // namespace demo
