// "demo-sunrise.swf": a sun rises over gradient hills and sets again, clouds
// drift, two stars twinkle by morphing, and a block-letter title sits on top.
#include "BlockFont.h"
#include "DemoMovies.h"
#include "SwfWriter.h"

#include <cmath>
#include <numbers>

namespace demo {

using namespace swfw;

namespace {

constexpr double kWidth = 480, kHeight = 320;
constexpr int kFrames = 96;

enum Depth : uint16_t { Sky = 1, StarA, StarB, Glow, Sun, FarHills, CloudA, NearHills, CloudB, TitleShadow, Title };

ShapeBuilder sky()
{
    Gradient g{{{0, Color::rgb(0x0b1d3a)}, {150, Color::rgb(0x6b4c8a)}, {215, Color::rgb(0xf2a65a)}, {255, Color::rgb(0xffd79b)}}};
    return ShapeBuilder().fill(FillStyle::linear(g, 0, 0, 0, kHeight)).rect(0, 0, kWidth, kHeight);
}

ShapeBuilder sunGlow()
{
    Gradient g{{{0, Color::rgb(0xffe066, 170)}, {255, Color::rgb(0xffb347, 0)}}};
    return ShapeBuilder().fill(FillStyle::radial(g, 0, 0, 95)).circle(0, 0, 95);
}

ShapeBuilder sunDisc()
{
    Gradient g{{{0, Color::rgb(0xfffbe0)}, {160, Color::rgb(0xffd23f)}, {255, Color::rgb(0xff9f1c)}}};
    return ShapeBuilder().fill(FillStyle::radial(g, -8, -8, 44)).circle(0, 0, 38);
}

ShapeBuilder farHills()
{
    Gradient g{{{0, Color::rgb(0x52b788)}, {255, Color::rgb(0x1b4332)}}};
    return ShapeBuilder()
        .fill(FillStyle::linear(g, 0, 200, 0, kHeight))
        .moveTo(0, 230)
        .curveTo(70, 180, 150, 215)
        .curveTo(230, 250, 300, 205)
        .curveTo(380, 165, 480, 215)
        .lineTo(kWidth, kHeight)
        .lineTo(0, kHeight)
        .close();
}

ShapeBuilder nearHills()
{
    Gradient g{{{0, Color::rgb(0x74c69d)}, {255, Color::rgb(0x2d6a4f)}}};
    return ShapeBuilder()
        .fill(FillStyle::linear(g, 0, 240, 0, kHeight))
        .lineSolid(1.5, Color::rgb(0x1b4332))
        .moveTo(0, 275)
        .curveTo(110, 230, 220, 265)
        .curveTo(330, 300, 480, 250)
        .noLine()
        .lineTo(kWidth, kHeight)
        .lineTo(0, kHeight)
        .close();
}

ShapeBuilder cloud()
{
    return ShapeBuilder()
        .fillSolid(Color::rgb(0xffffff, 215))
        .moveTo(0, 0)
        .lineTo(120, 0)
        .curveTo(145, -22, 112, -34)
        .curveTo(104, -62, 72, -50)
        .curveTo(56, -78, 30, -50)
        .curveTo(0, -58, 4, -28)
        .curveTo(-18, -14, 0, 0);
}

// A star with `points` tips; equal radii give a plain polygon, so it can morph into a star.
ShapeBuilder star(double outer, double inner, Color color)
{
    std::vector<Point> corners;
    for (int i = 0; i < 10; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double r = i % 2 == 0 ? outer : inner;
        corners.push_back({r * std::cos(angle), r * std::sin(angle)});
    }
    return ShapeBuilder().fillSolid(color).polygon(corners);
}

double wave(int frame, int period) { return (1 - std::cos(2 * std::numbers::pi * frame / period)) / 2; }

// Moves what the first frame placed to where `frame` shows it.
void animate(SwfWriter& w, int frame)
{
    const double t = double(frame) / kFrames;
    const double height = std::sin(std::numbers::pi * t); // 0 at dawn and dusk, 1 at noon
    const double x = 70 + 340 * t, y = 255 - 175 * height;
    auto put = [&](uint16_t depth, const Matrix& m, std::optional<ColorTransform> cx = std::nullopt,
                   std::optional<uint16_t> ratio = std::nullopt) {
        w.place(Placement{.depth = depth, .matrix = m, .colorTransform = cx, .ratio = ratio, .move = true});
    };
    const double light = 0.45 + 0.55 * height;
    put(Sky, Matrix{}, ColorTransform{light, light, 0.7 + 0.3 * height, 1, 0, 0, 0, 0});
    put(Glow, Matrix::scaling(0.9 + 0.2 * wave(frame, 24)).then(Matrix::translation(x, y)));
    put(Sun, Matrix::translation(x, y));
    put(CloudA, Matrix::translation(std::fmod(20 + frame * 2.5, kWidth + 160) - 150, 90));
    put(CloudB, Matrix::scaling(0.7).then(Matrix::translation(std::fmod(300 + frame * 1.5, kWidth + 160) - 150, 140)));
    const double night = 1 - height;
    put(StarA, Matrix::rotation(frame * 3).then(Matrix::translation(60, 50)), ColorTransform::alpha(night),
        static_cast<uint16_t>(65535 * wave(frame, 32)));
    put(StarB, Matrix::rotation(-frame * 2).then(Matrix::scaling(0.7)).then(Matrix::translation(410, 75)),
        ColorTransform::alpha(night), static_cast<uint16_t>(65535 * wave(frame + 16, 32)));
}

} // namespace

DemoMovie sunriseMovie()
{
    SwfWriter w(8, kWidth, kHeight, 24);
    w.background(Color::rgb(0x0b1d3a));
    const uint16_t skyId = w.defineShape(sky());
    const uint16_t starId = w.defineMorphShape(star(14, 14, Color::rgb(0xfff3b0)), star(20, 7, Color::rgb(0xffffff)));
    const uint16_t glowId = w.defineShape(sunGlow());
    const uint16_t sunId = w.defineShape(sunDisc());
    const uint16_t farId = w.defineShape(farHills());
    const uint16_t nearId = w.defineShape(nearHills());
    const uint16_t cloudId = w.defineShape(cloud());
    const uint16_t fontId = w.defineFont(blockFont());
    const uint16_t titleId = w.defineText({TextRun{fontId, 34, Color::rgb(0xfff3d6), 24, 304, u"SUNRISE"}});

    w.place(Sky, skyId);
    w.place(StarA, starId);
    w.place(StarB, starId);
    w.place(Glow, glowId);
    w.place(Sun, sunId);
    w.place(FarHills, farId);
    w.place(CloudA, cloudId);
    w.place(NearHills, nearId);
    w.place(CloudB, cloudId);
    w.place(Placement{.depth = TitleShadow, .characterId = titleId, .matrix = Matrix::translation(2, 2),
                      .colorTransform = ColorTransform{0, 0, 0, 0.55, 20, 40, 30, 0}});
    w.place(Title, titleId);
    for (int frame = 0; frame < kFrames; ++frame) {
        animate(w, frame);
        w.showFrame();
    }
    return {"demo-sunrise.swf", w.finish(Compression::Zlib)};
}

} // namespace demo
