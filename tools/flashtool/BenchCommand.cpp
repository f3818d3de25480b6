// flashtool bench FILE [--size WxH] [--frames N]: load, advance and draw times as JSON.
//
// Each frame is drawn twice: as the player draws it, only the region that
// changed ("drawn"), then the whole view ("render"), which is what a frame
// costs when everything on it moves.
//
// Every figure is given twice: in wall-clock time (what a viewer waits) and in
// processor time (what the work costs, all threads counted, steady on a busy machine).
#include "Commands.h"

#include "flash/player/Player.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <vector>

namespace flashtool {
namespace {

// Short movies are timed over this many frames (looping), so that their figures
// describe playing rather than the first, cache-filling frame alone.
constexpr int kMinTimedFrames = 60;

double processCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Duration {
    double wallMs = 0, cpuMs = 0;
    Duration operator+(const Duration& other) const { return {wallMs + other.wallMs, cpuMs + other.cpuMs}; }
};

class Stopwatch {
public:
    [[nodiscard]] Duration elapsed() const
    {
        return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_wall).count(),
                processCpuMilliseconds() - m_cpu};
    }

private:
    std::chrono::steady_clock::time_point m_wall = std::chrono::steady_clock::now();
    double m_cpu = processCpuMilliseconds();
};

struct Summary {
    double mean = 0, p95 = 0, max = 0;
};

Summary summarize(std::vector<double> samples)
{
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    const size_t p95Index = std::min(samples.size() - 1, size_t(double(samples.size()) * 0.95));
    return {std::accumulate(samples.begin(), samples.end(), 0.0) / double(samples.size()),
            samples[p95Index], samples.back()};
}

// Inserts NAMEMeanMs, NAMEP95Ms, NAMEMaxMs (wall) and NAMECpuMeanMs... (processor time).
void insertSummaries(QJsonObject& json, const QString& name, const std::vector<Duration>& samples)
{
    std::vector<double> wall, cpu;
    for (const Duration& sample : samples) {
        wall.push_back(sample.wallMs);
        cpu.push_back(sample.cpuMs);
    }
    const auto insert = [&json](const QString& prefix, const Summary& summary) {
        json.insert(prefix + QStringLiteral("MeanMs"), summary.mean);
        json.insert(prefix + QStringLiteral("P95Ms"), summary.p95);
        json.insert(prefix + QStringLiteral("MaxMs"), summary.max);
    };
    insert(name, summarize(wall));
    insert(name + QStringLiteral("Cpu"), summarize(cpu));
}

// Peak resident memory of this process in megabytes, where the system tells it.
double peakMemoryMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

} // namespace

int runBench(const CommandLine& line)
{
    flash::Player player;
    const Stopwatch loading;
    if (!player.loadFile(line.file.toStdString())) {
        printError(line.file + QStringLiteral(": ") + QString::fromStdString(player.loadError()));
        return 1;
    }
    const Duration load = loading.elapsed();

    QSize size = line.size.value_or(player.stageSize());
    if (size.isEmpty())
        size = QSize(550, 400);
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    const int frames = std::max(1, line.frameCount.value_or(std::max(player.totalFrames(), kMinTimedFrames)));

    QImage shown(size, QImage::Format_ARGB32_Premultiplied);
    std::vector<Duration> advances, draws, playerFrames, renders, wholeFrames;
    for (int frame = 0; frame < frames; ++frame) {
        const Stopwatch advancing;
        if (frame > 0)
            player.advanceFrame();
        advances.push_back(advancing.elapsed());
        const Stopwatch drawing;
        if (const QRegion changed = player.takeChangedRegion(size); !changed.isEmpty()) {
            QPainter painter(&shown);
            painter.setClipRegion(changed);
            player.render(painter, size);
        }
        draws.push_back(drawing.elapsed());
        playerFrames.push_back(advances.back() + draws.back());
        const Stopwatch rendering;
        {
            QPainter painter(&canvas);
            player.render(painter, size);
        }
        renders.push_back(rendering.elapsed());
        wholeFrames.push_back(advances.back() + renders.back());
    }

    QJsonObject json;
    json.insert(QStringLiteral("file"), line.file);
    json.insert(QStringLiteral("fileBytes"), QFileInfo(line.file).size());
    json.insert(QStringLiteral("width"), size.width());
    json.insert(QStringLiteral("height"), size.height());
    json.insert(QStringLiteral("frames"), frames);
    json.insert(QStringLiteral("movieFrames"), player.totalFrames());
    json.insert(QStringLiteral("frameRate"), player.clock().frameRate());
    json.insert(QStringLiteral("frameIntervalMs"), 1000.0 / player.clock().frameRate());
    json.insert(QStringLiteral("loadMs"), load.wallMs);
    json.insert(QStringLiteral("loadCpuMs"), load.cpuMs);
    json.insert(QStringLiteral("firstRenderMs"), renders.front().wallMs);
    json.insert(QStringLiteral("firstRenderCpuMs"), renders.front().cpuMs);
    insertSummaries(json, QStringLiteral("advance"), advances);
    insertSummaries(json, QStringLiteral("render"), renders);
    insertSummaries(json, QStringLiteral("frame"), wholeFrames);
    insertSummaries(json, QStringLiteral("drawn"), draws);
    insertSummaries(json, QStringLiteral("playerFrame"), playerFrames);
    json.insert(QStringLiteral("peakMemoryMB"), peakMemoryMegabytes());
    const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Compact);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}

} // namespace flashtool
