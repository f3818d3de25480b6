// Blend modes: Qt's composition modes where they match, and pixel loops for
// subtract, invert, alpha and erase, which Qt does not offer.
#include "flash/render/LayerCompositor.h"

#include <QPaintDevice>
#include <QPainterPath>
#include <QPainter>
#include <algorithm>
#include <optional>

namespace flash {

namespace {

std::optional<QPainter::CompositionMode> qtMode(BlendMode mode)
{
    switch (mode) {
    case BlendMode::Normal:
    case BlendMode::Layer: return QPainter::CompositionMode_SourceOver;
    case BlendMode::Multiply: return QPainter::CompositionMode_Multiply;
    case BlendMode::Screen: return QPainter::CompositionMode_Screen;
    case BlendMode::Lighten: return QPainter::CompositionMode_Lighten;
    case BlendMode::Darken: return QPainter::CompositionMode_Darken;
    case BlendMode::Difference: return QPainter::CompositionMode_Difference;
    case BlendMode::Add: return QPainter::CompositionMode_Plus;
    case BlendMode::Overlay: return QPainter::CompositionMode_Overlay;
    case BlendMode::HardLight: return QPainter::CompositionMode_HardLight;
    case BlendMode::Subtract:
    case BlendMode::Invert:
    case BlendMode::Alpha:
    case BlendMode::Erase: return std::nullopt;
    }
    return QPainter::CompositionMode_SourceOver; // values files use for normal
}

uint8_t scaled(unsigned v, unsigned by)
{
    return uint8_t((v * by + 127) / 255);
}

// One destination pixel under one source pixel, both premultiplied.
QRgb blendPixel(BlendMode mode, QRgb d, QRgb s)
{
    const unsigned sa = qAlpha(s);
    switch (mode) {
    case BlendMode::Subtract: {
        auto sub = [](int dc, int sc) { return std::max(0, dc - sc); };
        const unsigned outA = qAlpha(d) + scaled(sa, 255 - qAlpha(d));
        return qRgba(sub(qRed(d), qRed(s)), sub(qGreen(d), qGreen(s)), sub(qBlue(d), qBlue(s)), outA);
    }
    case BlendMode::Invert: {
        const unsigned da = qAlpha(d);
        auto inv = [&](unsigned dc) { return scaled(dc, 255 - sa) + scaled(da - dc, sa); };
        return qRgba(inv(qRed(d)), inv(qGreen(d)), inv(qBlue(d)), da);
    }
    case BlendMode::Alpha:
        return qRgba(scaled(qRed(d), sa), scaled(qGreen(d), sa), scaled(qBlue(d), sa), scaled(qAlpha(d), sa));
    case BlendMode::Erase: {
        const unsigned keep = 255 - sa;
        return qRgba(scaled(qRed(d), keep), scaled(qGreen(d), keep), scaled(qBlue(d), keep), scaled(qAlpha(d), keep));
    }
    default:
        return d;
    }
}

void blendPixels(QImage& target, const QImage& layer, QPoint topLeft, BlendMode mode, double opacity)
{
    const QRect area = QRect(topLeft, layer.size()).intersected(target.rect());
    const unsigned layerAlpha = unsigned(std::clamp(opacity, 0.0, 1.0) * 255 + 0.5);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(target.scanLine(y));
        const auto* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y - topLeft.y()));
        for (int x = area.left(); x <= area.right(); ++x) {
            QRgb s = src[x - topLeft.x()];
            if (layerAlpha != 255)
                s = qRgba(scaled(qRed(s), layerAlpha), scaled(qGreen(s), layerAlpha),
                          scaled(qBlue(s), layerAlpha), scaled(qAlpha(s), layerAlpha));
            if (qAlpha(s) != 0)
                dst[x] = blendPixel(mode, dst[x], s);
        }
    }
}

QImage* deviceImage(QPainter& painter)
{
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const auto format = image->format();
    if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_RGB32)
        return nullptr;
    return image;
}

} // namespace

void compositeLayer(QPainter& painter, const QImage& layer, QPoint topLeft, BlendMode mode,
                    double opacity, bool parentIsLayer)
{
    if (const auto composition = qtMode(mode)) {
        painter.save();
        painter.resetTransform();
        painter.setCompositionMode(*composition);
        painter.setOpacity(std::clamp(opacity, 0.0, 1.0));
        painter.drawImage(topLeft, layer);
        painter.restore();
        return;
    }
    const bool actsOnTransparency = mode == BlendMode::Alpha || mode == BlendMode::Erase;
    if (actsOnTransparency && !parentIsLayer)
        return;
    QImage* target = deviceImage(painter);
    if (!target) {
        // A device we cannot read back (a window): the object is shown as it is.
        if (!actsOnTransparency)
            compositeLayer(painter, layer, topLeft, BlendMode::Normal, opacity, parentIsLayer);
        return;
    }
    if (!painter.hasClipping()) {
        blendPixels(*target, layer, topLeft, mode, opacity);
        return;
    }
    // The pixel loop knows nothing of masks: cut the layer to the clip first.
    painter.save();
    painter.resetTransform();
    const QPainterPath clip = painter.clipPath();
    painter.restore();
    QImage coverage(layer.size(), QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    {
        QPainter mask(&coverage);
        mask.setRenderHint(QPainter::Antialiasing, painter.testRenderHint(QPainter::Antialiasing));
        mask.translate(-topLeft);
        mask.fillPath(clip, Qt::black);
    }
    QImage clipped = layer;
    {
        QPainter cut(&clipped);
        cut.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        cut.drawImage(0, 0, coverage);
    }
    blendPixels(*target, clipped, topLeft, mode, opacity);
}

} // namespace flash
