// What a movie costs the player while little or nothing in it moves: each
// tick's scripts, finding what changed, and drawing it, as the control does
// it, for a still stage of many shapes and for the same stage with one small
// square moving; and, for comparison, drawing the whole view every tick.
// Printed as the share of one core at the movie's frame rate.
#include "flash/player/Player.h"

#include "AsCompiler.h"
#include "SwfWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 24;
constexpr int kTicks = kRate * 10;

// 600 x 400: 400 still circles, and a square a script moves when `moving`.
std::vector<uint8_t> stage(bool moving)
{
    swfw::SwfWriter w(8, 600, 400, kRate);
    const uint16_t dot = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0x3366cc)).circle(0, 0, 12));
    for (int i = 0; i < 400; ++i)
        w.place(uint16_t(i + 1), dot, swfw::Matrix::translation(15 + (i % 20) * 29, 15 + (i / 20) * 19));
    const uint16_t square = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0xff0000)).rect(0, 0, 16, 16));
    swfw::Timeline box(8);
    box.place(1, square).showFrame();
    w.place(swfw::Placement{.depth = 500, .characterId = w.defineSprite(box), .name = std::string("box")});
    w.actions(swfw::compileActionScript(moving ? "box.onEnterFrame = function() { this._x = (this._x + 3) % 580; };"
                                               : "var still = true;"));
    w.showFrame();
    return w.finish();
}

enum class Drawing { Changed, Whole };

double shareOfCore(bool moving, Drawing drawing)
{
    flash::PlayerSettings settings;
    settings.scriptClock = flash::ScriptClock::Ticks;
    flash::Player player(settings);
    if (!player.loadBytes(stage(moving)))
        return -1;
    const QSize view(600, 400);
    QImage screen(view, QImage::Format_ARGB32_Premultiplied);
    const auto start = Clock::now();
    for (int tick = 0; tick < kTicks; ++tick) {
        player.tick();
        const QRegion changed = player.takeChangedRegion(view);
        if (drawing == Drawing::Changed && changed.isEmpty())
            continue;
        QPainter painter(&screen);
        if (drawing == Drawing::Changed)
            painter.setClipRegion(changed);
        player.render(painter, view);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return seconds / (double(kTicks) / kRate) * 100;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    std::printf("400 still circles:                 %5.2f %% of one core (the whole view each tick: %5.2f %%)\n",
                shareOfCore(false, Drawing::Changed), shareOfCore(false, Drawing::Whole));
    std::printf("a square moving over 400 circles:  %5.2f %% of one core (the whole view each tick: %5.2f %%)\n",
                shareOfCore(true, Drawing::Changed), shareOfCore(true, Drawing::Whole));
    return 0;
}
