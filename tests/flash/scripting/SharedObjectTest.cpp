// SharedObject.getLocal in movies played from files: what one session stores a
// later one reads back whole, within the allowance, scoped to its movie; corrupt
// stores read as empty and a movie loaded from memory writes nothing.
#include "AsCompiler.h"
#include "SwfWriter.h"

#include "flash/player/Player.h"
#include "flash/scripting/SharedObjectStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace flash::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::vector<uint8_t> movieOf(std::string_view source)
{
    swfw::SwfWriter w(8, 100, 100, 12);
    w.actions(swfw::compileActionScript(source));
    w.showFrame();
    return w.finish();
}

void writeFile(const fs::path& file, std::span<const uint8_t> bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class SharedObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = fs::weakly_canonical(m_dir.path().toStdString());
        // The player keeps its shared objects under the user's data folder.
        setenv("XDG_DATA_HOME", (m_folder / "data").c_str(), 1);
    }

    // Writes the movie at `movie` (under the temporary folder) and plays its frame
    // as one session, which ends by unloading it: what it traced and reported.
    Lines session(const fs::path& movie, std::string_view source)
    {
        writeFile(m_folder / movie, movieOf(source));
        Lines lines;
        PlayerSettings settings;
        settings.scriptClock = ScriptClock::Ticks;
        settings.scriptOutput.trace = [&](std::string_view line) { lines.emplace_back(line); };
        settings.scriptOutput.report = [&](std::string_view line) { lines.push_back("report: " + std::string(line)); };
        Player player(settings);
        if (!player.loadFile((m_folder / movie).string()))
            return {"not loaded"};
        player.tick();
        return lines;
    }

    [[nodiscard]] fs::path storeOf(const fs::path& movie, std::string_view name) const
    {
        return SharedObjectStore(SharedObjectStore::userRoot()).fileOf(m_folder / movie, name, std::nullopt).value();
    }

    [[nodiscard]] size_t storedFiles() const
    {
        size_t count = 0;
        std::error_code error;
        for (fs::recursive_directory_iterator it(m_folder / "data", error), end; !error && it != end; it.increment(error))
            count += it->is_regular_file() ? 1 : 0;
        return count;
    }

    QTemporaryDir m_dir;
    fs::path m_folder;
};

TEST_F(SharedObjectTest, EveryKindOfValueComesBackInTheNextSession)
{
    const Lines written = session("movie.swf", R"(
        var so = SharedObject.getLocal("save");
        trace(so == SharedObject.getLocal("save"));
        var d = so.data;
        d.n = -1.5; d.big = 1e300; d.nan = NaN; d.s = "héllo"; d.yes = true; d.no = false;
        d.nothing = null; d.undef = undefined;
        d.list = [1, "two", [3]];
        var sparse = []; sparse[5] = "five"; sparse[100000] = "far"; sparse.label = "named"; d.sparse = sparse;
        var shared = {x: 1}; d.nest = {a: shared, b: shared, inner: {deep: {deeper: "yes"}}};
        var loop = {name: "loop"}; loop.self = loop; d.loop = loop;
        d.when = new Date(1000000000004);
        d.boxed = new String("boxed");
        d.fn = function() {};
        trace(so.flush() + " " + (so.getSize() > 100));
        SharedObject.getLocal("later").data.count = 7;
    )");
    EXPECT_EQ(written, (Lines{"true", "true true"}));

    const Lines read = session("movie.swf", R"(
        var d = SharedObject.getLocal("save").data;
        trace(d.n + " " + d.big + " " + d.nan + " " + d.s + " " + d.yes + " " + d.no + " " + d.nothing + " " + typeof d.undef);
        trace(d.list.length + " " + d.list[1] + " " + d.list[2][0] + " " + (d.list instanceof Array));
        trace(d.sparse.length + " " + d.sparse[5] + " " + d.sparse[100000] + " " + d.sparse.label + " " + d.sparse[4]);
        trace((d.nest.a == d.nest.b) + " " + d.nest.a.x + " " + d.nest.inner.deep.deeper);
        trace((d.loop.self == d.loop) + " " + d.loop.name);
        trace((d.when instanceof Date) + " " + d.when.getTime() + " " + typeof d.boxed + " " + d.boxed);
        var keys = []; for (var k in d) keys.push(k); keys.sort(); trace(keys.join(","));
        trace(SharedObject.getLocal("later").data.count);
    )");
    EXPECT_EQ(read, (Lines{"-1.5 1e+300 NaN h\u00e9llo true false null undefined", "3 two 3 true",
                           "100001 five far named undefined", "true 1 yes", "true loop",
                           "true 1000000000004 string boxed",
                           "big,boxed,list,loop,n,nan,nest,no,nothing,s,sparse,undef,when,yes", "7"}));
}

TEST_F(SharedObjectTest, NamesPathsTheAllowanceAndClear)
{
    const std::string folder = m_folder.string();
    const Lines first = session("movie.swf", R"(
        var names = ["", "a b", "a~b", "a%b", "a&b", "a\\b", "a;b", "a:b", "a\"b", "a'b", "a,b", "a<b", "a>b",
                     "a?b", "a#b", "../up", "a//b", "/a", "a/.", "tab\t"];
        var refused = 0;
        for (var i = 0; i < names.length; i++) if (SharedObject.getLocal(names[i]) == null) refused++;
        trace(refused + " of " + names.length + " " + (SharedObject.getLocal() == null));
        trace((SharedObject.getLocal("ok/sub.name-1_x") != null) + " " + (SharedObject.getLocal("p", "/") != null)
              + " " + (SharedObject.getLocal("p", ")" + folder + R"(/") != null)
              + " " + (SharedObject.getLocal("p", ")" + folder + R"(/movie.swf") == SharedObject.getLocal("p"))
              + " " + (SharedObject.getLocal("p", "/elsewhere") == null)
              + " " + (SharedObject.getLocal("p", ")" + folder + R"(/mov") == null));
        var big = SharedObject.getLocal("big");
        big.data.text = "small";
        trace(big.flush() + " " + big.flush(102401));
        var s = "x"; while (s.length < 150000) s += s;
        big.data.text = s;
        trace(big.flush() + " " + (big.getSize() > 150000));
        var gone = SharedObject.getLocal("gone");
        gone.data.v = 1;
        var held = gone.data;
        trace(gone.flush());
        gone.clear();
        trace(gone.getSize() + " " + held.v);
    )");
    EXPECT_EQ(first, (Lines{"20 of 20 true", "true true true true true true", "true false", "false true", "true",
                            "0 undefined"}));
    EXPECT_FALSE(fs::exists(storeOf("movie.swf", "gone")));
    // Data past the allowance was neither flushed nor written on unload: the old file stands.
    const Lines second = session("movie.swf", "trace(SharedObject.getLocal('big').data.text);");
    EXPECT_EQ(second, Lines{"small"});
}

TEST_F(SharedObjectTest, CorruptStoresReadAsEmpty)
{
    session("movie.swf", R"(
        var d = SharedObject.getLocal("valid").data;
        d.a = 1; d.b = "text"; d.o = {p: [1, 2], q: new Date(5)};
    )");
    const std::vector<uint8_t> valid = readFile(storeOf("movie.swf", "valid"));
    ASSERT_GT(valid.size(), 40u);
    std::vector<std::vector<uint8_t>> corrupt;
    for (size_t length = 0; length < valid.size(); ++length)
        corrupt.emplace_back(valid.begin(), valid.begin() + std::ptrdiff_t(length));
    corrupt.emplace_back(valid);
    corrupt.back().push_back(0); // one byte more than the header says
    corrupt.emplace_back(2 << 20, 0x03); // larger than a store may be
    std::vector<uint8_t> garbage(997);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 131 + 7);
    corrupt.push_back(garbage);
    // Well-formed headers around members that are not: an unknown type, a reference
    // to nothing, nesting past any bound, and array indices that would ask for gigabytes.
    const auto withMember = [](std::vector<uint8_t> value) {
        std::vector<uint8_t> file{0x00, 0xBF, 0, 0, 0, 0, 'T', 'C', 'S', 'O', 0, 4, 0, 0, 0, 0, 0, 1, 'x', 0, 0, 0, 0,
                                  0, 1, 'k'};
        // Appended a byte at a time: g++ 12 warns, wrongly, of an overrun on an insert here.
        std::copy(value.begin(), value.end(), std::back_inserter(file));
        file.push_back(0);
        const auto length = uint32_t(file.size() - 6);
        for (int i = 0; i < 4; ++i)
            file[size_t(2 + i)] = uint8_t(length >> (24 - 8 * i));
        return file;
    };
    corrupt.push_back(withMember({0x11}));
    corrupt.push_back(withMember({0x07, 0x00, 0x00}));
    std::vector<uint8_t> deep;
    for (int level = 0; level < 100000; ++level)
        deep.insert(deep.end(), {0x03, 0, 1, 'k'});
    corrupt.push_back(withMember(deep));
    std::vector<uint8_t> far{0x08, 0, 0, 0, 0};
    for (uint32_t index = 65536; index < 65536u * 200; index += 65536) {
        const std::string key = std::to_string(index);
        far.insert(far.end(), {0, uint8_t(key.size())});
        far.insert(far.end(), key.begin(), key.end());
        far.push_back(0x05);
    }
    far.insert(far.end(), {0, 0, 0x09});
    corrupt.push_back(withMember(far));
    for (size_t i = 0; i < corrupt.size(); ++i)
        writeFile(storeOf("movie.swf", "c" + std::to_string(i)), corrupt[i]);

    const Lines read = session("movie.swf", R"(
        var counts = {};
        for (var i = 0; i < )" + std::to_string(corrupt.size()) + R"(; i++) {
            var n = 0;
            for (var k in SharedObject.getLocal("c" + i).data) n++;
            counts[n] = (counts[n] == undefined ? 0 : counts[n]) + 1;
        }
        for (var c in counts) trace(c + " members: " + counts[c]);
        trace(SharedObject.getLocal("valid").data.o.q.getTime());
    )");
    EXPECT_EQ(read, (Lines{"0 members: " + std::to_string(corrupt.size()), "5"}));
}

TEST_F(SharedObjectTest, EachMovieHasItsOwnUnlessItSharesAPath)
{
    session("a/movie.swf", R"(
        SharedObject.getLocal("mine").data.who = "a";
        SharedObject.getLocal("common", "/").data.who = "a";
    )");
    const Lines b = session("b/movie.swf", R"(
        trace(SharedObject.getLocal("mine").data.who + " " + SharedObject.getLocal("common", "/").data.who);
    )");
    EXPECT_EQ(b, Lines{"undefined a"});
}

TEST_F(SharedObjectTest, AMovieLoadedFromMemoryWritesNothing)
{
    Lines lines;
    {
        PlayerSettings settings;
        settings.scriptOutput.trace = [&](std::string_view line) { lines.emplace_back(line); };
        Player player(settings);
        ASSERT_TRUE(player.loadBytes(movieOf(R"(
            var so = SharedObject.getLocal("m");
            so.data.v = 1;
            trace(so.flush() + " " + (so == SharedObject.getLocal("m")) + " " + (SharedObject.getLocal("m", "/x") != null));
        )")));
        player.tick();
    }
    EXPECT_EQ(lines, Lines{"true true true"});
    EXPECT_EQ(storedFiles(), 0u);
}

} // namespace
} // namespace flash::test
