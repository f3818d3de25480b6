#include "flash/render/filters/FilterRegion.h"

#include "flash/render/filters/FilterLimits.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace flash {

BlurSize deviceBlur(double blurX, double blurY, int quality, FilterScale scale)
{
    auto axis = [](double blur, double factor) {
        return limits::clampedFinite(blur, 0, limits::kMaxBlur) * std::abs(limits::finiteOr(factor, 0));
    };
    return {axis(blurX, scale.x), axis(blurY, scale.y), std::clamp(quality, 0, limits::kMaxPasses)};
}

QPoint deviceOffset(double distance, double angle, FilterScale scale)
{
    const double radians = limits::finiteOr(angle, 0) * std::numbers::pi / 180.0;
    const double length = limits::finiteOr(distance, 0);
    auto axis = [](double value) {
        return int(std::lround(std::clamp(limits::finiteOr(value, 0), -limits::kMaxDeviceOffset, limits::kMaxDeviceOffset)));
    };
    return {axis(length * std::cos(radians) * limits::finiteOr(scale.x, 0)),
            axis(length * std::sin(radians) * limits::finiteOr(scale.y, 0))};
}

FilterMargins& FilterMargins::operator+=(const FilterMargins& other)
{
    left += other.left;
    top += other.top;
    right += other.right;
    bottom += other.bottom;
    return *this;
}

FilterMargins blurMargins(const BlurSize& blur)
{
    const int x = blurExtent(blur.x, blur.passes);
    const int y = blurExtent(blur.y, blur.passes);
    return {x, y, x, y};
}

void growCanvas(FilterCanvas& canvas, const FilterMargins& margins, const QRect& visible)
{
    const QRect current = canvas.rect();
    QRect target = margins.grown(current);
    if (!visible.isNull())
        target = target.intersected(visible.united(current)).united(current);
    if (target == current || canvas.image.isNull())
        return;
    if (qint64(target.width()) * target.height() > limits::kMaxCanvasPixels)
        return;
    QImage grown(target.size(), QImage::Format_ARGB32_Premultiplied);
    if (grown.isNull())
        return;
    grown.fill(Qt::transparent);
    {
        QPainter painter(&grown);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(current.topLeft() - target.topLeft(), canvas.image);
    }
    canvas.image = std::move(grown);
    canvas.origin = target.topLeft();
}

} // namespace flash
