// Movies whose scripts are written as ActionScript text, played headless for a
// number of ticks; what they trace and report is collected.
#pragma once

#include "AsCompiler.h"
#include "SwfWriter.h"

#include "flash/player/Player.h"

#include <chrono>
#include <string>
#include <vector>

namespace flash::test {

inline std::vector<uint8_t> script(std::string_view source, int swfVersion = 8)
{
    swfw::CompileOptions options;
    options.swfVersion = swfVersion;
    return swfw::compileActionScript(source, options);
}

struct ScriptRun {
    std::vector<std::string> traces;
    std::vector<std::string> reports;
    QImage image; // the last frame, when asked for
};

// Plays `movie` for `ticks` ticks as `flashtool run` does (the first tick runs the first frame's scripts).
inline ScriptRun runMovie(const std::vector<uint8_t>& movie, int ticks, QSize imageSize = {},
                          std::chrono::milliseconds timeLimit = std::chrono::seconds(15))
{
    ScriptRun run;
    PlayerSettings settings;
    settings.scriptClock = ScriptClock::Ticks;
    settings.scriptTimeLimit = timeLimit;
    settings.scriptOutput.trace = [&](std::string_view line) { run.traces.emplace_back(line); };
    settings.scriptOutput.report = [&](std::string_view line) { run.reports.emplace_back(line); };
    Player player(settings);
    if (!player.loadBytes(movie)) {
        run.reports.push_back("not a movie: " + player.loadError());
        return run;
    }
    for (int tick = 0; tick < ticks; ++tick)
        player.tick();
    if (imageSize.isValid())
        run.image = player.renderImage(imageSize);
    return run;
}

using Lines = std::vector<std::string>;

} // namespace flash::test
