// Times the filters on a 468 x 336 picture (a banner-sized movie) and prints
// milliseconds per application (processor and wall clock), the best of
// several rounds. An argument picks the cases whose name contains it.
#include "flash/render/filters/BoxBlur.h"
#include "flash/render/filters/FilterChain.h"

#include <QPainter>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>

namespace {

QImage picture()
{
    QImage image(468, 336, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 12; ++i) {
        painter.setBrush(QColor::fromHsv(i * 30, 200, 230, 160 + i * 8));
        painter.drawEllipse(QPointF(40 + i * 35, 60 + (i % 4) * 60), 40, 30);
    }
    return image;
}

// Processor time of this thread, beside the wall clock: the machine is
// shared, and waiting for a core is not the filters' cost.
double milliseconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Timing {
    double cpu = 1e9, wall = 1e9;
};

// Best time of a few rounds, each averaging `runs` calls on fresh copies.
Timing millisecondsPer(const std::function<void(QImage&)>& work, int runs)
{
    const QImage source = picture();
    Timing best;
    for (int round = 0; round < 5; ++round) {
        std::vector<QImage> copies(runs, source);
        for (QImage& copy : copies)
            copy.detach();
        const double cpu = milliseconds(CLOCK_THREAD_CPUTIME_ID), wall = milliseconds(CLOCK_MONOTONIC);
        for (QImage& copy : copies)
            work(copy);
        best.cpu = std::min(best.cpu, (milliseconds(CLOCK_THREAD_CPUTIME_ID) - cpu) / runs);
        best.wall = std::min(best.wall, (milliseconds(CLOCK_MONOTONIC) - wall) / runs);
    }
    return best;
}

// Cases whose name contains the command line's first argument, or all.
const char* g_only = nullptr;

void report(const char* what, const std::function<void(QImage&)>& work, int runs = 40)
{
    if (g_only && !std::strstr(what, g_only))
        return;
    const Timing t = millisecondsPer(work, runs);
    std::printf("%-40s %7.3f ms processor %7.3f ms wall\n", what, t.cpu, t.wall);
}

void filtered(QImage& image, const flash::TypedFilter& filter)
{
    flash::FilterCanvas canvas{std::move(image), {0, 0}};
    const flash::TypedFilter filters[] = {filter};
    flash::applyFilters(canvas, filters, {});
    image = std::move(canvas.image);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        g_only = argv[1];
    using namespace flash;
    report("box blur 9 x 9, 3 passes (ARGB)", [](QImage& i) { boxBlur(i, {9, 9, 3}); });
    report("rows only 9, 3 passes (ARGB)", [](QImage& i) { boxBlur(i, {9, 0, 3}); });
    report("columns only 9, 3 passes (ARGB)", [](QImage& i) { boxBlur(i, {0, 9, 3}); });
    report("box blur 4 x 4, 1 pass (ARGB)", [](QImage& i) { boxBlur(i, {4, 4, 1}); });
    report("box blur 32 x 32, 3 passes (ARGB)", [](QImage& i) { boxBlur(i, {32, 32, 3}); });
    report("drop shadow 9 x 9, 3 passes (grown)",
           [](QImage& i) { filtered(i, DropShadowFilter{.blurX = 9, .blurY = 9, .quality = 3}); });
    report("bevel 9 x 9, 3 passes (grown)",
           [](QImage& i) { filtered(i, BevelFilter{.blurX = 9, .blurY = 9, .quality = 3}); });
    report("colour matrix", [](QImage& i) { filtered(i, ColorMatrixFilter{}); });
    ConvolutionFilter sharpen{.matrixX = 3, .matrixY = 3, .matrix = {0, -1, 0, -1, 5, -1, 0, -1, 0}};
    report("convolution 3 x 3", [&](QImage& i) { filtered(i, sharpen); }, 10);
    return 0;
}
