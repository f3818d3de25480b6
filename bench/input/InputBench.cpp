// Times what input costs and prints the figures: one pointer move hit-tested
// over 1,000 clips, laying out a field of 10,000 characters, and one typed key
// in that field (the edit and the layout the next frame draws).
#include "flash/player/Player.h"
#include "flash/text/TextField.h"

#include "AsCompiler.h"
#include "SwfWriter.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// 1,000 small drawn clips in a grid, every other one with a press handler.
void benchPointerMoves()
{
    swfw::SwfWriter w(8, 800, 600, 24);
    w.actions(swfw::compileActionScript(R"(
        for (var i = 0; i < 1000; i++) {
            var c = createEmptyMovieClip("c" + i, i);
            c.beginFill(0x336699); c.moveTo(0, 0); c.lineTo(16, 0); c.lineTo(8, 14); c.endFill();
            c._x = (i % 40) * 20; c._y = Math.floor(i / 40) * 22;
            if (i % 2 == 0) c.onPress = function() {};
        }
        stop();
    )")).showFrame();
    flash::Player player;
    if (!player.loadBytes(w.finish()))
        return;
    player.tick();
    (void)player.renderImage(QSize(800, 600));
    constexpr int kMoves = 2000;
    const auto start = Clock::now();
    for (int i = 0; i < kMoves; ++i)
        player.pointerMove(flash::Point{double((i * 37) % 800) * 20, double((i * 53) % 600) * 20});
    std::printf("pointer move:      %.3f ms over 1,000 clips (mean of %d)\n", millisecondsSince(start) / kMoves, kMoves);
}

void benchTextField()
{
    auto def = std::make_shared<flash::EditTextDef>();
    def->bounds = flash::Rect{0, 400 * 20, 0, 300 * 20};
    def->fontHeight = 12 * 20;
    def->flags = 0x4000 | 0x2000; // word wrap, multiline
    auto movie = std::make_shared<const flash::Movie>();
    flash::text::TextField field(def, std::make_shared<flash::text::FontLibrary>(movie));
    std::string text;
    while (text.size() < 10'000)
        text += "The quick brown fox jumps over the lazy dog; 一二三四五 ";
    text.resize(10'000);

    constexpr int kLayouts = 50;
    auto start = Clock::now();
    for (int i = 0; i < kLayouts; ++i) {
        field.setText(i % 2 ? text : text + " ");
        (void)field.layout();
    }
    std::printf("10,000 characters: %.3f ms to lay out (mean of %d)\n", millisecondsSince(start) / kLayouts, kLayouts);

    constexpr int kKeys = 200;
    field.setSelection(5000, 5000);
    start = Clock::now();
    for (int i = 0; i < kKeys; ++i) {
        (void)field.type(U"a");
        (void)field.layout();
    }
    std::printf("typing:            %.3f ms a key into that field (mean of %d)\n", millisecondsSince(start) / kKeys, kKeys);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // fonts need it
    benchPointerMoves();
    benchTextField();
    return 0;
}
