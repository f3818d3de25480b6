// Builds QGradients: stops under the colour transform, linear-light blending
// emulated with extra stops, and the three spread modes. Colours blend channel
// by channel, alpha included (not premultiplied): a stop fading to transparent
// black darkens on its way, as movies expect.
#include "flash/render/GradientBrush.h"

#include "flash/render/QtConversions.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace flash {

namespace {

constexpr double kHalfSquare = 16384.0;
// Linear-light blending between two stops is approximated by this many pieces.
constexpr int kLinearRgbSteps = 8;

double toLinear(double srgb)
{
    const double c = srgb / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int toSrgb(double linear)
{
    const double c = linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
    return std::clamp(static_cast<int>(std::lround(c * 255.0)), 0, 255);
}

QColor mixLinearLight(Rgba from, Rgba to, double t)
{
    auto mix = [t](uint8_t a, uint8_t b) { return toSrgb(toLinear(a) + (toLinear(b) - toLinear(a)) * t); };
    const int alpha = static_cast<int>(std::lround(from.a + (to.a - from.a) * t));
    return QColor(mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b), alpha);
}

void appendStop(QGradientStops& stops, double position, const QColor& color)
{
    // Equal positions make a hard edge; keep them ascending for Qt.
    if (!stops.isEmpty() && position <= stops.back().first)
        position = std::min(1.0, stops.back().first + 1e-6);
    stops.append({std::clamp(position, 0.0, 1.0), color});
}

QGradientStops makeStops(const Gradient& gradient, const ColorTransform& transform)
{
    QGradientStops stops;
    const bool linearLight = gradient.interpolation == InterpolationMode::LinearRgb;
    for (size_t i = 0; i < gradient.stops.size(); ++i) {
        const GradientStop& stop = gradient.stops[i];
        const Rgba color = transform.apply(stop.color);
        if (linearLight && i > 0) {
            const GradientStop& prev = gradient.stops[i - 1];
            const Rgba prevColor = transform.apply(prev.color);
            for (int k = 1; k < kLinearRgbSteps; ++k) {
                const double t = double(k) / kLinearRgbSteps;
                const double pos = (prev.ratio + (stop.ratio - prev.ratio) * t) / 255.0;
                appendStop(stops, pos, mixLinearLight(prevColor, color, t));
            }
        }
        appendStop(stops, stop.ratio / 255.0, toQColor(color));
    }
    return stops;
}

QGradient::Spread toQSpread(SpreadMode mode)
{
    switch (mode) {
    case SpreadMode::Reflect: return QGradient::ReflectSpread;
    case SpreadMode::Repeat: return QGradient::RepeatSpread;
    case SpreadMode::Pad: break;
    }
    return QGradient::PadSpread;
}

} // namespace

std::optional<QBrush> gradientBrush(const FillStyle& fill, const ColorTransform& transform)
{
    const Gradient& gradient = fill.gradient;
    if (gradient.stops.empty())
        return std::nullopt;
    // A gradient squeezed to nothing (or with one stop) shows one colour.
    if (gradient.stops.size() == 1 || !fill.matrix.inverted() || !isUsable(fill.matrix))
        return QBrush(toQColor(transform.apply(gradient.stops.back().color)));

    QGradientStops stops = makeStops(gradient, transform);
    QBrush brush;
    if (fill.kind == FillKind::LinearGradient) {
        QLinearGradient linear(-kHalfSquare, 0, kHalfSquare, 0);
        linear.setStops(stops);
        linear.setSpread(toQSpread(gradient.spread));
        linear.setInterpolationMode(QGradient::ComponentInterpolation);
        brush = QBrush(linear);
    } else {
        const bool hasFocus = fill.kind == FillKind::FocalRadialGradient && std::isfinite(gradient.focalPoint);
        const double focal = hasFocus ? std::clamp(gradient.focalPoint, -0.98, 0.98) : 0.0;
        QRadialGradient radial(QPointF(0, 0), kHalfSquare, QPointF(focal * kHalfSquare, 0));
        radial.setStops(stops);
        radial.setSpread(toQSpread(gradient.spread));
        radial.setInterpolationMode(QGradient::ComponentInterpolation);
        brush = QBrush(radial);
    }
    brush.setTransform(toQTransform(fill.matrix));
    return brush;
}

} // namespace flash
