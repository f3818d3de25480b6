// flashtool render FILE --frame N | --ticks N --out FILE | --frames A-B --out-dir DIR:
// frames as the control shows them, scripts and all.
#include "Commands.h"
#include "InputEvents.h"
#include "PngFile.h"

#include "flash/player/Player.h"

#include <QDir>

namespace flashtool {
namespace {

// Movies without a usable stage size get the usual default.
QSize outputSize(const CommandLine& line, const flash::Player& player)
{
    if (line.size)
        return *line.size;
    const QSize stage = player.stageSize();
    return stage.isEmpty() ? QSize(550, 400) : stage;
}

bool writeFrame(flash::Player& player, QSize size, const QString& path)
{
    if (!writeOpaquePng(player.renderImage(size), path)) {
        printError(QStringLiteral("cannot write ") + path);
        return false;
    }
    return true;
}

bool load(flash::Player& player, const QString& file)
{
    if (player.loadFile(file.toStdString()))
        return true;
    printError(file + QStringLiteral(": ") + QString::fromStdString(player.loadError()));
    return false;
}

// The picture after N ticks as a headless run counts them (the first runs the first frame's scripts):
// a single-frame movie that builds itself by script shows what its scripts built.
int renderAfterTicks(const CommandLine& line)
{
    flash::Player player;
    if (!load(player, line.file))
        return 1;
    const auto input = inputOption(line);
    if (!input)
        return 2;
    for (int tick = 1; tick <= *line.ticks; ++tick) {
        applyInputEvents(player, *input, tick);
        player.tick();
    }
    return writeFrame(player, outputSize(line, player), line.out) ? 0 : 1;
}

} // namespace

int runRender(const CommandLine& line)
{
    FrameRange range;
    QString single = line.out;
    if (line.ticks && !line.out.isEmpty())
        return renderAfterTicks(line);
    if (line.frame && !line.out.isEmpty()) {
        range = {*line.frame, *line.frame};
    } else if (line.frames && !line.outDir.isEmpty()) {
        range = *line.frames;
        single.clear();
        if (!QDir().mkpath(line.outDir)) {
            printError(QStringLiteral("cannot create ") + line.outDir);
            return 1;
        }
    } else {
        printError(QStringLiteral("render needs --frame N --out FILE, --ticks N --out FILE or --frames A-B --out-dir DIR"));
        return 2;
    }

    flash::Player player;
    if (!load(player, line.file))
        return 1;
    const QSize size = outputSize(line, player);
    // Frame N is what the control shows after N frames of playing, actions and all.
    for (int frame = 0; frame < range.first; ++frame)
        player.advanceFrame();
    for (int frame = range.first; frame <= range.last; ++frame) {
        if (frame > range.first)
            player.advanceFrame();
        const QString path = !single.isEmpty()
            ? single
            : QDir(line.outDir).filePath(QStringLiteral("frame-%1.png").arg(frame, 5, 10, QLatin1Char('0')));
        if (!writeFrame(player, size, path))
            return 1;
    }
    return 0;
}

} // namespace flashtool
