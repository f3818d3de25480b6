// Gradient fills: geometry of the gradient square, spread modes, interpolation, colour transforms.
#include "RenderScene.h"

namespace flash::test {
namespace {

// A gradient from red to blue whose square spans [from, to] pixels horizontally.
FillStyle redToBlue(FillKind kind, double from, double to, SpreadMode spread = SpreadMode::Pad,
                    InterpolationMode mode = InterpolationMode::Rgb)
{
    FillStyle fill;
    fill.kind = kind;
    fill.gradient.spread = spread;
    fill.gradient.interpolation = mode;
    fill.gradient.stops = {{0, kRed}, {255, kBlue}};
    const double scale = px(to - from) / 32768.0;
    fill.matrix = Matrix{scale, 0, 0, scale, px((from + to) / 2), px(50)};
    return fill;
}

QImage renderGradient(const FillStyle& fill, const ColorTransform& transform = {})
{
    RenderScene scene;
    DisplayObject& object = scene.place(1, scene.define(1, filledRectangle(0, 0, 100, 100, fill)));
    object.colorTransform = transform;
    return scene.render();
}

TEST(Gradient, LinearRunsAcrossItsSquare)
{
    const QImage image = renderGradient(redToBlue(FillKind::LinearGradient, 0, 100));
    EXPECT_PIXEL_NEAR(image, 0, 50, kRed, 6);
    EXPECT_PIXEL_NEAR(image, 50, 20, (Rgba{128, 0, 127, 255}), 6);
    EXPECT_PIXEL_NEAR(image, 25, 80, (Rgba{191, 0, 64, 255}), 6);
    EXPECT_PIXEL_NEAR(image, 99, 50, kBlue, 6);
}

TEST(Gradient, RadialRunsFromCentreOutwards)
{
    const QImage image = renderGradient(redToBlue(FillKind::RadialGradient, 0, 100));
    EXPECT_PIXEL_NEAR(image, 50, 50, kRed, 8);
    EXPECT_PIXEL_NEAR(image, 75, 50, (Rgba{128, 0, 127, 255}), 8);
    EXPECT_PIXEL_NEAR(image, 50, 25, (Rgba{128, 0, 127, 255}), 8);
    EXPECT_PIXEL_NEAR(image, 2, 2, kBlue, 6); // beyond the circle: padded
}

TEST(Gradient, FocalPointMovesTheFirstColour)
{
    FillStyle fill = redToBlue(FillKind::FocalRadialGradient, 0, 100);
    fill.gradient.focalPoint = 0.5;
    const QImage image = renderGradient(fill);
    EXPECT_PIXEL_NEAR(image, 75, 50, kRed, 12);
    EXPECT_GT(pixelAt(image, 50, 50).b, 40); // the centre is no longer the first colour
}

TEST(Gradient, SpreadModesBeyondTheSquare)
{
    // The square covers 0..50: x = 60 lies at 1.2 along the gradient.
    const QImage pad = renderGradient(redToBlue(FillKind::LinearGradient, 0, 50, SpreadMode::Pad));
    const QImage repeat = renderGradient(redToBlue(FillKind::LinearGradient, 0, 50, SpreadMode::Repeat));
    const QImage reflect = renderGradient(redToBlue(FillKind::LinearGradient, 0, 50, SpreadMode::Reflect));
    EXPECT_PIXEL_NEAR(pad, 60, 50, kBlue, 6);
    EXPECT_PIXEL_NEAR(repeat, 60, 50, (Rgba{204, 0, 51, 255}), 8);
    EXPECT_PIXEL_NEAR(reflect, 60, 50, (Rgba{51, 0, 204, 255}), 8);
    EXPECT_PIXEL_NEAR(pad, 20, 50, pixelAt(repeat, 20, 50), 2); // inside the square all agree
}

TEST(Gradient, LinearLightBlendingIsBrighterHalfway)
{
    const QImage rgb = renderGradient(redToBlue(FillKind::LinearGradient, 0, 100));
    const QImage linear = renderGradient(
        redToBlue(FillKind::LinearGradient, 0, 100, SpreadMode::Pad, InterpolationMode::LinearRgb));
    EXPECT_PIXEL_NEAR(rgb, 50, 50, (Rgba{128, 0, 127, 255}), 6);
    EXPECT_PIXEL_NEAR(linear, 50, 50, (Rgba{188, 0, 188, 255}), 8);
}

TEST(Gradient, ManyStopsAndHardEdges)
{
    FillStyle fill = redToBlue(FillKind::LinearGradient, 0, 100);
    fill.gradient.stops.clear();
    for (int i = 0; i < 15; ++i)
        fill.gradient.stops.push_back({uint8_t(i * 17), i % 2 ? kGreen : kRed});
    fill.gradient.stops[14].ratio = 255;
    const QImage many = renderGradient(fill);
    EXPECT_PIXEL_NEAR(many, 33, 50, kGreen, 20); // stop 5 lies at x = 33.3
    EXPECT_PIXEL_NEAR(many, 40, 50, kRed, 20);   // stop 6 at x = 40

    fill.gradient.stops = {{0, kRed}, {128, kRed}, {128, kGreen}, {255, kGreen}};
    const QImage hard = renderGradient(fill);
    EXPECT_PIXEL_NEAR(hard, 45, 50, kRed, 6);
    EXPECT_PIXEL_NEAR(hard, 55, 50, kGreen, 6);
}

TEST(Gradient, TransparentStopsBlendChannelByChannel)
{
    FillStyle fill = redToBlue(FillKind::LinearGradient, 0, 100);
    fill.gradient.stops = {{0, kWhite}, {255, Rgba{0, 0, 0, 0}}};
    // Halfway: grey 128 at half opacity over the white background.
    EXPECT_PIXEL_NEAR(renderGradient(fill), 50, 50, (Rgba{191, 191, 191, 255}), 4);
}

TEST(Gradient, ColourTransformAppliesToStops)
{
    ColorTransform noRed;
    noRed.rMult = 0;
    noRed.gAdd = 255;
    const QImage image = renderGradient(redToBlue(FillKind::LinearGradient, 0, 100), noRed);
    EXPECT_PIXEL_NEAR(image, 0, 50, kGreen, 6);
    EXPECT_PIXEL_NEAR(image, 99, 50, (Rgba{0, 255, 255, 255}), 6);
}

TEST(Gradient, DegenerateGradientsDrawSafely)
{
    FillStyle empty = redToBlue(FillKind::LinearGradient, 0, 100);
    empty.gradient.stops.clear();
    EXPECT_PIXEL(renderGradient(empty), 50, 50, kWhite);

    FillStyle squashed = redToBlue(FillKind::RadialGradient, 0, 100);
    squashed.matrix = Matrix{0, 0, 0, 0, px(50), px(50)};
    EXPECT_PIXEL_NEAR(renderGradient(squashed), 50, 50, kBlue, 6);
}

} // namespace
} // namespace flash::test
