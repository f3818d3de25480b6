// Every ActionScript 1/2 movie of the shared corpus runs 200 ticks with its
// scripts, without crashing or hanging; what its scripts reported is counted
// and printed, so that faults a file does not earn show up.
#include "CorpusSupport.h"

#include "flash/model/ActionBlocks.h"
#include "flash/player/Player.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <iostream>
#include <map>

namespace flash::test {
namespace {

constexpr int kTicks = 200;

bool hasActionScript12(const Movie& movie)
{
    if (movie.usesActionScript3())
        return false;
    bool any = false;
    forEachActionBlock(movie, [&](const ActionBlockSite&, std::span<const uint8_t>) { any = true; });
    return any;
}

struct Tally {
    int movies = 0;
    int traces = 0;
    int reports = 0;
    std::map<std::string, int> reportsByMovie;
    std::map<std::string, int> reportKinds; // first words of each report
};

void runScripts(const fs::path& path, Tally& tally, QImage& canvas)
{
    int traces = 0, reports = 0;
    std::map<std::string, int> kinds;
    PlayerSettings settings;
    settings.scriptClock = ScriptClock::Ticks;
    settings.scriptTimeLimit = std::chrono::seconds(2);
    settings.scriptOutput.trace = [&](std::string_view) { ++traces; };
    settings.scriptOutput.report = [&](std::string_view line) {
        ++reports;
        ++kinds[std::string(line.substr(0, std::min<size_t>(line.size(), 48)))];
    };
    Player player(settings);
    if (!player.loadFile(path.string()) || !hasActionScript12(*player.movie()))
        return;
    for (int tick = 0; tick < kTicks; ++tick) {
        player.tick();
        ASSERT_TRUE(player.hasMovie()) << path << ": dropped on tick " << tick;
    }
    QPainter painter(&canvas);
    player.render(painter, canvas.size());
    ++tally.movies;
    tally.traces += traces;
    tally.reports += reports;
    if (reports)
        tally.reportsByMovie[path.filename().string()] = reports;
    for (const auto& [kind, count] : kinds)
        tally.reportKinds[kind] += count;
}

TEST(CorpusScripts, EveryScriptedMovieRunsTwoHundredTicks)
{
    const std::vector<fs::path> movies = corpusMovies();
    if (movies.empty())
        GTEST_SKIP() << "no corpus at " << VF_CORPUS_DIR;
    QImage canvas(QSize(234, 168), QImage::Format_ARGB32_Premultiplied);
    Watchdog watchdog;
    Tally tally;
    for (const fs::path& movie : movies) {
        watchdog.startMovie(movie.string());
        runScripts(movie, tally, canvas);
    }
    EXPECT_GT(tally.movies, 0);
    std::cout << "scripted movies run: " << tally.movies << ", trace lines: " << tally.traces
              << ", script reports: " << tally.reports << " in " << tally.reportsByMovie.size() << " movies\n";
    for (const auto& [movie, count] : tally.reportsByMovie)
        std::cout << "  " << count << "\t" << movie << "\n";
    for (const auto& [kind, count] : tally.reportKinds)
        std::cout << "  kind " << count << "\t" << kind << "\n";
}

} // namespace
} // namespace flash::test
