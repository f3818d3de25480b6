// flashtool bench FILE [--size WxH] [--frames N]: load, advance and draw times as JSON.
#include "Commands.h"

#include "flash/player/Player.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <vector>

namespace flashtool {
namespace {

using Clock = std::chrono::steady_clock;

// Short movies are timed over this many frames (looping), so that their figures
// describe playing rather than the first, cache-filling frame alone.
constexpr int kMinTimedFrames = 60;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

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

void insertSummary(QJsonObject& json, const QString& prefix, const Summary& summary)
{
    json.insert(prefix + QStringLiteral("MeanMs"), summary.mean);
    json.insert(prefix + QStringLiteral("P95Ms"), summary.p95);
    json.insert(prefix + QStringLiteral("MaxMs"), summary.max);
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
    const auto loadStart = Clock::now();
    if (!player.loadFile(line.file.toStdString())) {
        printError(line.file + QStringLiteral(": ") + QString::fromStdString(player.loadError()));
        return 1;
    }
    const double loadMs = millisecondsSince(loadStart);

    QSize size = line.size.value_or(player.stageSize());
    if (size.isEmpty())
        size = QSize(550, 400);
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    const int frames = std::max(1, line.frameCount.value_or(std::max(player.totalFrames(), kMinTimedFrames)));

    std::vector<double> advanceMs, renderMs, frameMs;
    for (int frame = 0; frame < frames; ++frame) {
        const auto advanceStart = Clock::now();
        if (frame > 0)
            player.advanceFrame();
        advanceMs.push_back(millisecondsSince(advanceStart));
        const auto renderStart = Clock::now();
        {
            QPainter painter(&canvas);
            player.render(painter, size);
        }
        renderMs.push_back(millisecondsSince(renderStart));
        frameMs.push_back(advanceMs.back() + renderMs.back());
    }

    QJsonObject json;
    json.insert(QStringLiteral("file"), line.file);
    json.insert(QStringLiteral("fileBytes"), QFileInfo(line.file).size());
    json.insert(QStringLiteral("width"), size.width());
    json.insert(QStringLiteral("height"), size.height());
    json.insert(QStringLiteral("frames"), frames);
    json.insert(QStringLiteral("movieFrames"), player.totalFrames());
    json.insert(QStringLiteral("firstRenderMs"), renderMs.front());
    json.insert(QStringLiteral("frameRate"), player.clock().frameRate());
    json.insert(QStringLiteral("frameIntervalMs"), 1000.0 / player.clock().frameRate());
    json.insert(QStringLiteral("loadMs"), loadMs);
    insertSummary(json, QStringLiteral("advance"), summarize(advanceMs));
    insertSummary(json, QStringLiteral("render"), summarize(renderMs));
    insertSummary(json, QStringLiteral("frame"), summarize(frameMs));
    json.insert(QStringLiteral("peakMemoryMB"), peakMemoryMegabytes());
    const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Compact);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}

} // namespace flashtool
