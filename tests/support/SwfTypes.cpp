// Matrix arithmetic and the fill-style factories that compute gradient and bitmap matrices.
#include "SwfTypes.h"

#include <numbers>

namespace swfw {

namespace {
// Gradients are defined on a square 32768 units wide centred on the origin.
constexpr double kGradientSquare = 32768.0;
}

Matrix Matrix::rotation(double degrees)
{
    const double r = degrees * std::numbers::pi / 180.0;
    return {std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
}

Matrix Matrix::then(const Matrix& n) const
{
    return {n.a * a + n.c * b,
            n.b * a + n.d * b,
            n.a * c + n.c * d,
            n.b * c + n.d * d,
            static_cast<int32_t>(std::lround(n.a * tx + n.c * ty + n.tx)),
            static_cast<int32_t>(std::lround(n.b * tx + n.d * ty + n.ty))};
}

FillStyle FillStyle::linear(Gradient g, double x0, double y0, double x1, double y1)
{
    const double dx = (x1 - x0) * kTwipsPerPixel, dy = (y1 - y0) * kTwipsPerPixel;
    const double scale = std::hypot(dx, dy) / kGradientSquare;
    const double angle = std::atan2(dy, dx);
    FillStyle f;
    f.type = FillType::LinearGradient;
    f.gradient = std::move(g);
    f.matrix = {scale * std::cos(angle), scale * std::sin(angle), -scale * std::sin(angle), scale * std::cos(angle),
                toTwips((x0 + x1) / 2), toTwips((y0 + y1) / 2)};
    return f;
}

FillStyle FillStyle::radial(Gradient g, double cx, double cy, double radius)
{
    const double scale = 2 * radius * kTwipsPerPixel / kGradientSquare;
    FillStyle f;
    f.type = FillType::RadialGradient;
    f.gradient = std::move(g);
    f.matrix = {scale, 0, 0, scale, toTwips(cx), toTwips(cy)};
    return f;
}

FillStyle FillStyle::focal(Gradient g, double cx, double cy, double radius, double focalPoint)
{
    FillStyle f = radial(std::move(g), cx, cy, radius);
    f.type = FillType::FocalGradient;
    f.focalPoint = focalPoint;
    return f;
}

FillStyle FillStyle::bitmap(uint16_t bitmapId, FillType type, double x, double y, double scale)
{
    FillStyle f;
    f.type = type;
    f.bitmapId = bitmapId;
    f.matrix = {scale * kTwipsPerPixel, 0, 0, scale * kTwipsPerPixel, toTwips(x), toTwips(y)};
    return f;
}

} // namespace swfw
