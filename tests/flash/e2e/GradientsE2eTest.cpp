// Gradient fills end to end: direction, spread modes, radial and focal
// gradients, interpolation in linear RGB, and alpha in stops.
#include "E2eSupport.h"

using namespace e2e;

namespace {

Gradient blackToWhite(SpreadMode spread = SpreadMode::Pad, Interpolation interpolation = Interpolation::Rgb)
{
    return Gradient{{{0, Color::rgb(0x000000)}, {255, Color::rgb(0xffffff)}}, spread, interpolation};
}

// A 100 x 20 strip at y 0..20 filled with `fill`; returns the grey level along its middle.
int greyAt(const QImage& img, int x) { return pixel(img, x, 10).red(); }

QImage strip(const FillStyle& fill, int version = 3)
{
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(ShapeBuilder().fill(fill).rect(0, 0, 100, 20), version));
    return renderFirstFrame(w);
}

} // namespace

TEST(GradientsE2e, LinearGradientRunsBetweenItsEnds)
{
    const QImage img = strip(FillStyle::linear(blackToWhite(), 0, 0, 100, 0));
    EXPECT_NEAR(greyAt(img, 2), 6, 10);
    EXPECT_NEAR(greyAt(img, 25), 65, 12);
    EXPECT_NEAR(greyAt(img, 50), 129, 12);
    EXPECT_NEAR(greyAt(img, 75), 193, 12);
    EXPECT_NEAR(greyAt(img, 97), 250, 10);

    const QImage vertical = [] {
        SwfWriter w = newMovie();
        w.place(1, w.defineShape(ShapeBuilder().fill(FillStyle::linear(blackToWhite(), 0, 0, 0, 100)).rect(0, 0, 100, 100)));
        return renderFirstFrame(w);
    }();
    EXPECT_NEAR(pixel(vertical, 50, 25).red(), 65, 12);
    EXPECT_NEAR(pixel(vertical, 10, 75).red(), 193, 12);
    EXPECT_EQ(pixel(vertical, 10, 75).red(), pixel(vertical, 90, 75).red()) << "a vertical gradient is level across";
}

TEST(GradientsE2e, SpreadModesBeyondTheGradientSquare)
{
    // The gradient covers x 25..75 only; the strip shows what lies beyond.
    const QImage pad = strip(FillStyle::linear(blackToWhite(SpreadMode::Pad), 25, 0, 75, 0), 4);
    EXPECT_NEAR(greyAt(pad, 12), 0, 10);
    EXPECT_NEAR(greyAt(pad, 50), 129, 12);
    EXPECT_NEAR(greyAt(pad, 88), 255, 10);

    // 12.5 px before the start is a quarter of the way back in reflect and three quarters in repeat.
    const QImage reflect = strip(FillStyle::linear(blackToWhite(SpreadMode::Reflect), 25, 0, 75, 0), 4);
    EXPECT_NEAR(greyAt(reflect, 12), 66, 16);
    EXPECT_NEAR(greyAt(reflect, 87), 190, 16);
    const QImage repeat = strip(FillStyle::linear(blackToWhite(SpreadMode::Repeat), 25, 0, 75, 0), 4);
    EXPECT_NEAR(greyAt(repeat, 12), 190, 16);
    EXPECT_NEAR(greyAt(repeat, 87), 66, 16);
}

TEST(GradientsE2e, LinearRgbInterpolationIsLighterHalfWay)
{
    const QImage rgb = strip(FillStyle::linear(blackToWhite(SpreadMode::Pad, Interpolation::Rgb), 0, 0, 100, 0), 4);
    const QImage linear = strip(FillStyle::linear(blackToWhite(SpreadMode::Pad, Interpolation::LinearRgb), 0, 0, 100, 0), 4);
    // Half-way in linear light is sRGB 188, against 128 for plain interpolation.
    EXPECT_NEAR(greyAt(rgb, 50), 129, 12);
    EXPECT_NEAR(greyAt(linear, 50), 188, 16);
    EXPECT_NEAR(greyAt(linear, 2), 20, 25);
}

TEST(GradientsE2e, RadialGradientGrowsFromItsCentre)
{
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(ShapeBuilder()
                                 .fill(FillStyle::radial(blackToWhite(), 50, 50, 40))
                                 .rect(0, 0, 100, 100)));
    const QImage img = renderFirstFrame(w);
    EXPECT_NEAR(pixel(img, 50, 50).red(), 3, 10);
    EXPECT_NEAR(pixel(img, 70, 50).red(), 129, 14); // half the radius
    EXPECT_NEAR(pixel(img, 50, 30).red(), 129, 14);
    EXPECT_NEAR(pixel(img, 95, 50).red(), 255, 8); // beyond the radius, padded
    EXPECT_NEAR(pixel(img, 5, 5).red(), 255, 8);
}

TEST(GradientsE2e, FocalPointMovesTheDarkSpot)
{
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(ShapeBuilder()
                                 .fill(FillStyle::focal(blackToWhite(), 50, 50, 40, 0.75))
                                 .rect(0, 0, 100, 100), 4));
    const QImage img = renderFirstFrame(w);
    // The focus sits at 0.75 of the radius to the right, at x = 80.
    EXPECT_LT(pixel(img, 79, 50).red(), 30);
    EXPECT_GT(pixel(img, 50, 50).red(), 60);
    EXPECT_LT(pixel(img, 84, 50).red(), pixel(img, 16, 50).red()) << "the right side is the darker one";
}

TEST(GradientsE2e, StopColoursCarryAlpha)
{
    Gradient g{{{0, Color::rgb(0x0000ff, 255)}, {255, Color::rgb(0x0000ff, 0)}}};
    const QImage img = strip(FillStyle::linear(g, 0, 0, 100, 0));
    EXPECT_TRUE(colorNear(img, 2, 10, kBlue, 12));
    EXPECT_TRUE(colorNear(img, 50, 10, QColor(127, 127, 255), 14));
    EXPECT_TRUE(colorNear(img, 98, 10, kWhite, 12));
}

TEST(GradientsE2e, ManyStopsAreAllHonoured)
{
    Gradient g;
    for (int i = 0; i < 15; ++i)
        g.stops.push_back({uint8_t(i * 255 / 14), i % 2 ? Color::rgb(0xff0000) : Color::rgb(0x0000ff)});
    const QImage img = strip(FillStyle::linear(g, 0, 0, 100, 0), 4);
    // Stop i sits at x = 100 * i / 14.
    EXPECT_TRUE(colorNear(img, 7, 10, kRed, 30));
    EXPECT_TRUE(colorNear(img, 92, 10, kRed, 30));
    EXPECT_TRUE(colorNear(img, 0, 10, kBlue, 40));
    EXPECT_TRUE(colorNear(img, 99, 10, kBlue, 40));
}
