#include "scenes.h"

#include "logo_mark.h"
#include "palette.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace skinpaint {
namespace {

// Thin wedges fanning out from a centre, every ray in the given colour.
void drawRays(QPainter& painter, QPointF centre, int count, double halfAngle, double phase, const QColor& color)
{
    constexpr double kReach = 600.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    for (int i = 0; i < count; ++i) {
        const double angle = phase + 2 * std::numbers::pi * i / count;
        const QPointF a = centre + QPointF(std::cos(angle - halfAngle), std::sin(angle - halfAngle)) * kReach;
        const QPointF b = centre + QPointF(std::cos(angle + halfAngle), std::sin(angle + halfAngle)) * kReach;
        painter.drawPolygon(QPolygonF{centre, a, b});
    }
}

QFont captionFont()
{
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void drawCaptionStrip(QPainter& painter, int width)
{
    constexpr int kStripHeight = 16;
    QLinearGradient strip(0, 0, 0, kStripHeight - 1);
    strip.setColorAt(0.0, QColor(0x6F, 0xC3, 0xF7));
    strip.setColorAt(1.0, QColor(0xDC, 0xDF, 0xE2));
    painter.fillRect(0, 0, width, kStripHeight, strip);

    // The small mark at the left end: violet with a pale outline, on green.
    painter.fillRect(0, 0, 21, kStripHeight, QColor(0x2E, 0xA0, 0x3C));
    const QPainterPath mark = logoMark(QRectF(2.5, 1.5, 16, 13));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xF0, 0xF0, 0xE6), 1.2));
    painter.setBrush(kLogoViolet);
    painter.drawPath(mark);
    painter.setRenderHint(QPainter::Antialiasing, false);

    painter.setFont(captionFont());
    painter.setPen(QColor(0x0A, 0x3C, 0xB4));
    painter.drawText(QPoint(25, 12), QStringLiteral("VelquorFlash播放器 V1.2"));
}

} // namespace

QImage panelBackground(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const QRect body(0, 16, width, height - 16);
    painter.fillRect(body, kPanelBlue);
    painter.save();
    painter.setClipRect(body);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(262, 66);
    drawRays(painter, centre, 28, 0.045, 0.05, QColor(255, 255, 255, 46));
    drawRays(painter, centre, 14, 0.02, 0.17, QColor(255, 255, 255, 38));
    drawRays(painter, centre, 5, 0.018, 0.6, QColor(255, 40, 40, 40));
    painter.restore();
    drawCaptionStrip(painter, width);
    return image;
}

QImage playlistBackground(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0, 0, width, height), 9, 9);
    painter.fillPath(outer, kPlaylistFrame);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(3, 3, width - 6, height - 6), 6, 6);
    painter.fillPath(inner, QColor(0xDD, 0xEC, 0xFB));
    painter.setClipPath(inner);
    const QPointF centre(width / 2.0, height / 2.0);
    drawRays(painter, centre, 9, 0.09, 0.0, QColor(255, 150, 150, 70));
    drawRays(painter, centre, 9, 0.09, 0.23, QColor(150, 230, 150, 70));
    drawRays(painter, centre, 9, 0.09, 0.46, QColor(150, 170, 255, 70));
    return image;
}

QImage logoPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(0x3C, 0x9E, 0xE8));
    sky.setColorAt(1.0, QColor(0xD4, 0xEC, 0xFD));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLogoRed);
    painter.drawPath(logoMark(QRectF(12, 10, width - 26, height - 22)));
    return image;
}

QImage iconPicture(int width, int height)
{
    // Opaque mark on a fully transparent ground: a one-bit mask.
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kLogoRed, 1.0));
    painter.setBrush(kLogoRed);
    painter.drawPath(logoMark(QRectF(0, 0, width - 1, height - 1)));
    return image;
}

QImage progressTrack(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width, 15, kTrackBlue);
    painter.fillRect(0, 8, width, 3, Qt::black);
    painter.fillRect(0, 15, width, height - 15, Qt::white);
    return image;
}

QImage progressMarker(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kMarkerBlue);
    return image;
}

} // namespace skinpaint
