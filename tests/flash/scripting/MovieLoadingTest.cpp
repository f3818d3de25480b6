// Movies, pictures and variables a movie loads from its own folder: into
// levels and clips, told to a MovieClipLoader, and refused outside the folder.
#include "ScriptedMovie.h"

#include "flash/player/Player.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace flash::test {
namespace {

class MovieLoadingTest : public ::testing::Test {
protected:
    void write(const QString& name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream(folder.filePath(name).toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    // A movie of one frame running `script`, with a 20 x 20 square of `colour` at (0, 0).
    static std::vector<uint8_t> movie(const std::string& script, uint32_t colour = 0xff0000)
    {
        swfw::SwfWriter w(8, 100, 100, 12);
        const uint16_t square = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(colour)).rect(0, 0, 20, 20));
        w.place(1, square);
        w.actions(swfw::compileActionScript(script));
        w.showFrame();
        return w.finish();
    }

    // Plays main.swf from the folder for `ticks` ticks; its traces, and its last picture.
    Lines run(const std::string& mainScript, int ticks)
    {
        write("main.swf", movie(mainScript, 0xffffff));
        PlayerSettings settings;
        settings.scriptClock = ScriptClock::Ticks;
        settings.scriptOutput.trace = [this](std::string_view line) { traces.emplace_back(line); };
        Player player(settings);
        EXPECT_TRUE(player.loadFile(folder.filePath("main.swf").toStdString()));
        for (int tick = 0; tick < ticks; ++tick)
            player.tick();
        picture = player.renderImage(QSize(100, 100));
        return traces;
    }

    QTemporaryDir folder;
    Lines traces;
    QImage picture;
};

TEST_F(MovieLoadingTest, AMovieLoadsIntoALevelAndIntoAClipAndUnloads)
{
    write("child.swf", movie(R"(trace("child runs in " + this._target + " url " + (_url.indexOf("child.swf") > 0));)"));
    run(R"(
        this.createEmptyMovieClip("holder", 5);
        holder._x = 40;
        holder.note = "set before";
        loadMovieNum("child.swf", 1);
        holder.loadMovie("child.swf");
        var ticks = 0;
        this.onEnterFrame = function() {
            ticks++;
            if (ticks == 2) {
                trace("holder at " + holder._x + ", note " + holder.note + ", bytes " + (holder.getBytesTotal() > 0));
                trace("level 1 is " + _level1._target);
            }
            if (ticks == 3) unloadMovieNum(1);
            if (ticks == 5) trace("level 1 gone " + (_level1 == undefined));
        };
    )", 7);
    EXPECT_EQ(traces, (Lines{"child runs in _level1 url true", "child runs in /holder url true",
                             "holder at 40, note undefined, bytes true", "level 1 is _level1", "level 1 gone true"}));
    // The loaded square shows in the clip, where the clip stands.
    EXPECT_EQ(picture.pixel(45, 5), qRgb(255, 0, 0));
}

TEST_F(MovieLoadingTest, AMovieClipLoaderHearsEveryStepAndEveryFailure)
{
    write("child.swf", movie(R"(trace("child frame");)"));
    QImage png(30, 10, QImage::Format_RGB32);
    png.fill(qRgb(0, 0, 255));
    ASSERT_TRUE(png.save(folder.filePath("pic.png")));
    std::ofstream(folder.filePath("vars.txt").toStdString()) << "score=12&name=A%20B";
    run(R"(
        this.createEmptyMovieClip("a", 1);
        this.createEmptyMovieClip("b", 2);
        this.createEmptyMovieClip("c", 3);
        var loader = new MovieClipLoader();
        loader.onLoadStart = function(t) { trace("start " + t._name); };
        loader.onLoadProgress = function(t, done, all) { trace("progress " + t._name + " " + (done == all)); };
        loader.onLoadComplete = function(t) { trace("complete " + t._name); };
        loader.onLoadInit = function(t) { trace("init " + t._name + " width " + t._width); };
        loader.onLoadError = function(t, code, status) { trace("error " + t._name + " " + code + " " + status); };
        loader.loadClip("child.swf", a);
        loader.loadClip("pic.png", "b");
        loader.loadClip("../outside.swf", c);
        loader.loadClip("http://example.com/x.swf", c);
        c.onData = function() { trace("data " + this.score + " " + this.name); };
        c.loadVariables("vars.txt");
    )", 4);
    EXPECT_EQ(traces, (Lines{"start a", "progress a true", "complete a", "start b", "progress b true", "complete b",
                             "error c URLNotFound 0", "error c URLNotFound 0", "data 12 A B",
                             "child frame", "init a width 20", "init b width 30"}));
}

// A movie with a sprite exported as `linkage` (ids 1 and 2, as in any movie), running `script`.
std::vector<uint8_t> movieExporting(const std::string& linkage, const std::string& script)
{
    swfw::SwfWriter w(8, 100, 100, 12);
    const uint16_t square = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0x00ff00)).rect(0, 0, 5, 5));
    swfw::Timeline thing(8);
    thing.place(1, square).showFrame();
    w.exportAssets({{w.defineSprite(thing), linkage}});
    w.actions(swfw::compileActionScript(script));
    w.showFrame();
    return w.finish();
}

TEST_F(MovieLoadingTest, ALoadedMovieRegistersClassesForItsOwnSymbols)
{
    write("child.swf", movieExporting("thing", R"(
        function Thing() { trace("child class on " + this._name); }
        Object.registerClass("thing", Thing);
        this.attachMovie("thing", "t1", 1);
    )"));
    write("main.swf", movieExporting("mainThing", R"(
        this.createEmptyMovieClip("holder", 1);
        holder.loadMovie("child.swf");
        var ticks = 0;
        this.onEnterFrame = function() { if (++ticks == 3) { this.attachMovie("mainThing", "m1", 5); trace("main attached " + m1._name); } };
    )"));
    PlayerSettings settings;
    settings.scriptClock = ScriptClock::Ticks;
    settings.scriptOutput.trace = [this](std::string_view line) { traces.emplace_back(line); };
    Player player(settings);
    ASSERT_TRUE(player.loadFile(folder.filePath("main.swf").toStdString()));
    for (int tick = 0; tick < 5; ++tick)
        player.tick();
    // The child's sprite and the main movie's share an id; only the child's has the class.
    EXPECT_EQ(traces, (Lines{"child class on t1", "main attached m1"}));
}

// A movie defining sound 900 as a second of 16-bit mono samples at `level`, starting it on its frame when `starts`.
std::vector<uint8_t> movieWithSound(int16_t level, bool starts, const std::string& script)
{
    swfw::SwfWriter w(8, 100, 100, 12);
    std::vector<uint8_t> sound{0x84, 0x03, 0x3e}; // id 900: uncompressed little-endian, 44 kHz, 16-bit, mono
    constexpr uint32_t kSamples = 44100;
    for (int i = 0; i < 4; ++i)
        sound.push_back(uint8_t(kSamples >> (8 * i)));
    for (uint32_t i = 0; i < kSamples; ++i) {
        sound.push_back(uint8_t(level));
        sound.push_back(uint8_t(uint16_t(level) >> 8));
    }
    w.timeline().appendTag(14, sound);
    if (starts)
        w.timeline().appendTag(15, std::vector<uint8_t>{0x84, 0x03, 0x00});
    w.actions(swfw::compileActionScript(script));
    w.showFrame();
    return w.finish();
}

TEST_F(MovieLoadingTest, ALoadedMovieStartsItsOwnSounds)
{
    write("child.swf", movieWithSound(10000, true, ""));
    write("main.swf", movieWithSound(3000, false, R"(this.createEmptyMovieClip("holder", 1); holder.loadMovie("child.swf");)"));
    PlayerSettings settings;
    settings.scriptClock = ScriptClock::Ticks;
    Player player(settings);
    ASSERT_TRUE(player.loadFile(folder.filePath("main.swf").toStdString()));
    std::vector<int16_t> mixed(3675 * 2);
    for (int tick = 0; tick < 3; ++tick) {
        player.tick();
        player.mixAudio(mixed.data(), 3675);
    }
    // The two movies' sounds share an id: the child's own plays.
    EXPECT_EQ(mixed[100], 10000);
}

} // namespace
} // namespace flash::test
