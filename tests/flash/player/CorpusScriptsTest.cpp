// Every ActionScript 1/2 movie of the shared corpus runs 200 ticks with its
// scripts, without crashing or hanging; what its scripts reported is counted
// and printed, so that faults a file does not earn show up. Each runs again
// under random pointer and key input.
#include "CorpusSupport.h"

#include "flash/model/ActionBlocks.h"
#include "flash/player/Player.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <random>

namespace flash::test {
namespace {

constexpr int kTicks = 200;
constexpr int kMonkeyTicks = 100;

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

// Random clicks, drags, wheel turns and keys, the same on every run, with the
// ticks between them: the player stays up and the movie stays loaded.
void monkey(const fs::path& path, std::mt19937& random)
{
    PlayerSettings settings;
    settings.scriptClock = ScriptClock::Ticks;
    settings.scriptTimeLimit = std::chrono::seconds(2);
    settings.scriptOutput.trace = [](std::string_view) {};
    settings.scriptOutput.report = [](std::string_view) {};
    Player player(settings);
    if (!player.loadFile(path.string()) || !hasActionScript12(*player.movie()))
        return;
    const QSize stage = player.stageSize().expandedTo(QSize(1, 1));
    auto coordinate = [&](int extent) { return std::uniform_real_distribution<double>(-10, extent + 10)(random) * 20; };
    for (int tick = 0; tick < kMonkeyTicks && player.hasMovie(); ++tick) {
        for (int event = 0; event < 4; ++event) {
            switch (random() % 8) {
            case 0: case 1: case 2: player.pointerMove(Point{coordinate(stage.width()), coordinate(stage.height())}); break;
            case 3: player.pointerPress(); break;
            case 4: player.pointerRelease(); break;
            case 5: player.wheel(int(random() % 7) - 3); break;
            case 6: {
                const int code = int(random() % 256);
                player.keyEvent({random() % 2 ? KeyDirection::Down : KeyDirection::Up, code, uint32_t(random() % 128)});
                break;
            }
            default: player.typeText(U"monkey 猴"); break;
            }
        }
        player.tick();
        ASSERT_TRUE(player.hasMovie()) << path << ": dropped on tick " << tick;
    }
    (void)player.renderImage(QSize(117, 84));
}

TEST(CorpusScripts, EveryScriptedMovieSurvivesRandomInput)
{
    const std::vector<fs::path> movies = corpusMovies();
    if (movies.empty())
        GTEST_SKIP() << "no corpus at " << VF_CORPUS_DIR;
    Watchdog watchdog;
    std::mt19937 random(20261208);
    for (const fs::path& movie : movies) {
        watchdog.startMovie(movie.string());
        monkey(movie, random);
    }
}

} // namespace
} // namespace flash::test
