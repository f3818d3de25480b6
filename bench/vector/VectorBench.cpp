// A plot-like scene, the kind scientific plotting libraries export: a grid of
// thin lines, axes with ticks, a few thousand markers, filled polygons and
// curves. It is written once as a movie and once as SVG, and each is drawn at
// 1920 x 1440 into a PNG by a separate process, best of three runs.
#include "SwfWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

constexpr int kWidth = 800, kHeight = 600;

struct Scene {
    std::vector<uint8_t> movie;
    std::string svg;
};

Scene plotScene()
{
    swfw::SwfWriter w(8, kWidth, kHeight, 12);
    std::ostringstream svg;
    svg << "<svg xmlns='http://www.w3.org/2000/svg' width='" << kWidth << "' height='" << kHeight << "' viewBox='0 0 "
        << kWidth << ' ' << kHeight << "'>\n<rect width='100%' height='100%' fill='white'/>\n";
    uint16_t depth = 1;
    // The grid and the axes' ticks: one shape of many thin strokes.
    swfw::ShapeBuilder grid;
    grid.lineSolid(0.5, swfw::Color::rgb(0xcccccc));
    for (int x = 50; x <= 750; x += 10) {
        grid.moveTo(x, 50).lineTo(x, 550);
        svg << "<line x1='" << x << "' y1='50' x2='" << x << "' y2='550' stroke='#cccccc' stroke-width='0.5'/>\n";
    }
    for (int y = 50; y <= 550; y += 10) {
        grid.moveTo(50, y).lineTo(750, y);
        svg << "<line x1='50' y1='" << y << "' x2='750' y2='" << y << "' stroke='#cccccc' stroke-width='0.5'/>\n";
    }
    w.place(depth++, w.defineShape(grid));
    // Markers: 3000 small filled diamonds along noisy curves.
    for (int i = 0; i < 3000; ++i) {
        const double x = 50 + (i % 1000) * 0.7, y = 300 + 200 * std::sin(i * 0.013) * std::cos(i * 0.0031) + (i / 1000) * 30 - 30;
        const uint32_t colour = i < 1000 ? 0xcc3333 : i < 2000 ? 0x3333cc : 0x33aa33;
        swfw::ShapeBuilder marker;
        marker.fillSolid(swfw::Color::rgb(colour)).polygon({{x, y - 3}, {x + 3, y}, {x, y + 3}, {x - 3, y}});
        w.place(depth++, w.defineShape(marker));
        char fill[8];
        std::snprintf(fill, sizeof fill, "%06x", colour);
        svg << "<polygon points='" << x << ',' << y - 3 << ' ' << x + 3 << ',' << y << ' ' << x << ',' << y + 3 << ' '
            << x - 3 << ',' << y << "' fill='#" << fill << "'/>\n";
    }
    // Filled areas under curves, drawn with quadratic curves.
    for (int band = 0; band < 4; ++band) {
        swfw::ShapeBuilder area;
        area.fillSolid(swfw::Color::rgb(0x6699cc)).moveTo(50, 550);
        svg << "<path fill='#6699cc' fill-opacity='1' d='M50,550";
        for (int x = 50; x < 750; x += 20) {
            const double cy = 450 - band * 60 - 40 * std::sin(x * 0.02), y = 450 - band * 60 - 30 * std::cos(x * 0.03);
            area.curveTo(x + 10, cy, x + 20, y);
            svg << " Q" << x + 10 << ',' << cy << ' ' << x + 20 << ',' << y;
        }
        area.lineTo(750, 550).close();
        svg << " L750,550 Z'/>\n";
        w.place(depth++, w.defineShape(area));
    }
    w.showFrame();
    svg << "</svg>\n";
    return {w.finish(), svg.str()};
}

double bestOfThree(const QString& program, const QStringList& arguments)
{
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(120'000) || process.exitCode() != 0)
            return -1;
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

// With a folder argument, the scene and the pictures are kept there.
int main(int argc, char** argv)
{
    QTemporaryDir temporary;
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path());
    const Scene scene = plotScene();
    const std::string movie = folder.filePath("scene.swf").toStdString(), svg = folder.filePath("scene.svg").toStdString();
    std::ofstream(movie, std::ios::binary).write(reinterpret_cast<const char*>(scene.movie.data()), std::streamsize(scene.movie.size()));
    std::ofstream(svg) << scene.svg;
    const double ours = bestOfThree(QStringLiteral(VF_FLASHTOOL),
                                    {"render", QString::fromStdString(movie), "--frame", "0", "--size", "1920x1440",
                                     "--out", folder.filePath("ours.png")});
    std::printf("flashtool render at 1920x1440: %.0f ms (process included)\n", ours);
    const QString rsvg = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
    if (rsvg.isEmpty()) {
        std::printf("rsvg-convert:                  not installed (apt-get install librsvg2-bin)\n");
        return 0;
    }
    const double theirs = bestOfThree(rsvg, {"-w", "1920", "-h", "1440", QString::fromStdString(svg), "-o", folder.filePath("svg.png")});
    std::printf("rsvg-convert at 1920x1440:     %.0f ms (process included)\n", theirs);
    return 0;
}
