// "demo-sprites.swf": pinwheel sprites spin on their own timelines while the
// main timeline carries them round; a flower sprite opens and stops itself;
// the title slides in once, then the main timeline loops back to a label.
#include "BlockFont.h"
#include "DemoMovies.h"
#include "SwfWriter.h"

#include <cmath>
#include <numbers>

namespace demo {

using namespace swfw;

namespace {

constexpr double kWidth = 480, kHeight = 320;
constexpr int kIntroFrames = 24;
constexpr int kLoopFrames = 72;

enum Depth : uint16_t { Ground = 1, Flower = 2, Button = 3, Title = 4, WheelBase = 10 };

ShapeBuilder blades()
{
    const Color colors[] = {Color::rgb(0xef476f), Color::rgb(0xffd166), Color::rgb(0x06d6a0), Color::rgb(0x118ab2)};
    ShapeBuilder b;
    for (int i = 0; i < 4; ++i) {
        const double a = i * std::numbers::pi / 2, r = 34;
        const Point tip{r * std::cos(a), r * std::sin(a)};
        const Point side{r * 0.75 * std::cos(a + 0.9), r * 0.75 * std::sin(a + 0.9)};
        b.fillSolid(colors[i]).polygon({{0, 0}, tip, side});
    }
    return b.noFill().fillSolid(Color::rgb(0x333333)).circle(0, 0, 4);
}

// A pinwheel turning a full quarter (the blades look alike after it) in twelve frames.
Timeline pinwheel(uint16_t bladesId)
{
    Timeline t;
    t.place(1, bladesId);
    for (int f = 0; f < 12; ++f)
        t.move(1, Matrix::rotation(f * 7.5)).showFrame();
    return t;
}

ShapeBuilder petal()
{
    Gradient g{{{0, Color::rgb(0xfff0f5)}, {255, Color::rgb(0xff5d8f)}}};
    return ShapeBuilder().fill(FillStyle::linear(g, 0, 0, 0, -40)).moveTo(0, 0).curveTo(18, -20, 0, -40).curveTo(-18, -20, 0, 0);
}

// Six petals open over twenty frames, then the sprite stops itself on its last frame.
Timeline flower(uint16_t petalId, uint16_t centreId)
{
    Timeline t;
    constexpr int kOpening = 20;
    for (int f = 0; f < kOpening; ++f) {
        const double open = double(f + 1) / kOpening;
        for (uint16_t i = 0; i < 6; ++i) {
            const Matrix m = Matrix::scaling(0.3 + 0.7 * open).then(Matrix::rotation(i * 60 + (1 - open) * 90));
            if (f == 0)
                t.place(uint16_t(1 + i), petalId, m);
            else
                t.move(uint16_t(1 + i), m);
        }
        if (f == 0)
            t.place(10, centreId);
        if (f == kOpening - 1)
            t.actions(Actions().stop());
        t.showFrame();
    }
    return t;
}

ShapeBuilder ground()
{
    Gradient g{{{0, Color::rgb(0x1d3557)}, {255, Color::rgb(0x457b9d)}}};
    return ShapeBuilder()
        .fill(FillStyle::linear(g, 0, 0, 0, kHeight))
        .rect(0, 0, kWidth, kHeight)
        .fillSolid(Color::rgb(0x2a9d8f))
        .moveTo(0, 270)
        .curveTo(240, 240, 480, 270)
        .lineTo(480, 320)
        .lineTo(0, 320)
        .close();
}

uint16_t playButton(SwfWriter& w)
{
    const uint16_t up = w.defineShape(ShapeBuilder()
        .fillSolid(Color::rgb(0xf1faee))
        .lineSolid(2, Color::rgb(0x1d3557))
        .circle(0, 0, 16)
        .noLine()
        .fillSolid(Color::rgb(0xe63946))
        .polygon({{-5, -8}, {9, 0}, {-5, 8}}));
    const uint16_t over = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xffd166)).circle(0, 0, 16));
    return w.defineButton(ButtonBuilder()
        .part({.states = 1 | 8, .characterId = up, .depth = 1})
        .part({.states = 2 | 4, .characterId = over, .depth = 1})
        .onRelease(Actions().play()));
}

} // namespace

DemoMovie spritesMovie()
{
    SwfWriter w(7, kWidth, kHeight, 24);
    w.background(Color::rgb(0x1d3557));
    const uint16_t groundId = w.defineShape(ground(), 3);
    const uint16_t bladesId = w.defineShape(blades());
    const uint16_t wheelId = w.defineSprite(pinwheel(bladesId));
    const uint16_t petalId = w.defineShape(petal());
    const uint16_t centreId = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xffd166)).circle(0, 0, 7));
    const uint16_t flowerId = w.defineSprite(flower(petalId, centreId));
    const uint16_t buttonId = playButton(w);
    const uint16_t fontId = w.defineFont(blockFont(), FontVersion::V1);
    const uint16_t titleId = w.defineText({TextRun{fontId, 30, Color::rgb(0xf1faee), 0, 0, u"SPRITES"}});

    const ColorTransform tints[] = {ColorTransform{}, ColorTransform::multiply(0.6, 1, 1), ColorTransform::add(60, -40, 40),
                                    ColorTransform::multiply(1, 0.7, 0.5), ColorTransform::add(-30, 30, 90)};
    constexpr int kWheels = 5;
    auto wheelMatrix = [](int i, int loopFrame) {
        const double a = 2 * std::numbers::pi * (double(i) / kWheels + double(loopFrame) / kLoopFrames);
        return Matrix::scaling(0.7 + 0.15 * i).then(Matrix::translation(240 + 150 * std::cos(a), 140 + 70 * std::sin(a)));
    };

    w.place(Ground, groundId);
    w.place(Flower, flowerId, Matrix::scaling(1.3).then(Matrix::translation(240, 262)));
    w.place(Button, buttonId, Matrix::translation(450, 30));
    w.place(Placement{.depth = Title, .characterId = titleId, .matrix = Matrix::translation(-200, 40)});
    for (int i = 0; i < kWheels; ++i)
        w.place(Placement{.depth = uint16_t(WheelBase + i), .characterId = wheelId, .matrix = wheelMatrix(i, 0),
                          .colorTransform = tints[i], .name = "wheel" + std::to_string(i)});
    // The intro: the title slides in while the wheels spin where they stand.
    for (int f = 0; f < kIntroFrames; ++f) {
        const double t = double(f + 1) / kIntroFrames;
        const double eased = 1 - (1 - t) * (1 - t);
        w.move(Title, Matrix::translation(-200 + (24 + 200) * eased, 40));
        w.showFrame();
    }
    // The loop: the wheels go round. A last frame jumps back to the label as
    // soon as it is entered, so it never shows and the circle closes seamlessly.
    w.label("loop");
    for (int f = 0; f < kLoopFrames; ++f) {
        for (int i = 0; i < kWheels; ++i)
            w.move(uint16_t(WheelBase + i), wheelMatrix(i, f));
        w.showFrame();
    }
    w.actions(Actions().gotoLabel("loop").play()).showFrame();
    return {"demo-sprites.swf", w.finish(Compression::Zlib)};
}

} // namespace demo
