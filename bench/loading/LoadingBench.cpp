// Times loadMovie of a movie of about 1 MB (a large picture and many shapes)
// from the movie's own folder: the tick that carries the load out, against the
// same tick without it.
#include "flash/player/Player.h"

#include "AsCompiler.h"
#include "SwfWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> bigMovie()
{
    swfw::SwfWriter w(8, 640, 480, 24);
    QImage noise(640, 480, QImage::Format_RGB32);
    std::mt19937 random(5);
    for (int y = 0; y < noise.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(noise.scanLine(y));
        for (int x = 0; x < noise.width(); ++x)
            row[x] = 0xff000000u | (random() & 0x00ffffffu);
    }
    const uint16_t picture = w.defineBitsLossless(noise);
    w.place(1, w.defineShape(swfw::ShapeBuilder().fill(swfw::FillStyle::bitmap(picture, swfw::FillType::ClippedBitmap, 0, 0)).rect(0, 0, 640, 480)));
    for (int i = 0; i < 2000; ++i) {
        const uint16_t shape = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(random() & 0xffffff))
                                                 .circle(random() % 640, random() % 480, 3 + random() % 20));
        w.place(uint16_t(2 + i), shape);
    }
    w.showFrame();
    return w.finish();
}

std::vector<uint8_t> mainMovie(bool loads)
{
    swfw::SwfWriter w(8, 640, 480, 24);
    w.actions(swfw::compileActionScript(loads ? R"(this.createEmptyMovieClip("holder", 1); holder.loadMovie("big.swf");)"
                                              : R"(this.createEmptyMovieClip("holder", 1);)"));
    w.showFrame();
    return w.finish();
}

void write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

double firstTickMs(const std::string& path)
{
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        flash::PlayerSettings settings;
        settings.scriptClock = flash::ScriptClock::Ticks;
        flash::Player player(settings);
        if (!player.loadFile(path))
            return -1;
        const auto start = Clock::now();
        player.tick();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    const std::vector<uint8_t> big = bigMovie();
    write(folder.filePath("big.swf").toStdString(), big);
    write(folder.filePath("loads.swf").toStdString(), mainMovie(true));
    write(folder.filePath("plain.swf").toStdString(), mainMovie(false));
    const double with = firstTickMs(folder.filePath("loads.swf").toStdString());
    const double without = firstTickMs(folder.filePath("plain.swf").toStdString());
    std::printf("loadMovie of a %.2f MB movie: %.1f ms (the tick took %.1f ms, %.1f ms without the load)\n",
                double(big.size()) / (1024 * 1024), with - without, with, without);
    return 0;
}
