// flashtool run FILE [--ticks N] [--input EVENTS]: plays a movie headless,
// scripts included, as fast as it goes, printing each trace() line on stdout as
// it happens; script faults and limits reached go to stderr. The events of
// EVENTS are applied at the start of their ticks.
#include "Commands.h"
#include "InputEvents.h"

#include "flash/player/Player.h"

#include <algorithm>
#include <cstdio>

namespace flashtool {
namespace {

void writeLine(std::FILE* stream, std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

int runRun(const CommandLine& line)
{
    flash::PlayerSettings settings;
    settings.scriptClock = flash::ScriptClock::Ticks;
    settings.scriptOutput.trace = [](std::string_view text) { writeLine(stdout, text); };
    settings.scriptOutput.report = [](std::string_view text) { writeLine(stderr, text); };
    flash::Player player(settings);
    if (!player.loadFile(line.file.toStdString())) {
        printError(line.file + QStringLiteral(": ") + QString::fromStdString(player.loadError()));
        return 1;
    }
    const auto input = inputOption(line);
    if (!input)
        return 2;
    const int ticks = line.ticks.value_or(std::max(player.totalFrames(), 1));
    for (int tick = 1; tick <= ticks && player.hasMovie(); ++tick) {
        applyInputEvents(player, *input, tick);
        player.tick();
    }
    return 0;
}

} // namespace flashtool
