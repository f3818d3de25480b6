// LoadVars, and loading for it and XML: files read through the host, answered
// after the calling script has returned, in the text encoding the movie expects.
#include "LibraryTest.h"

#include "flash/script/builtins/NetworkClasses.h"

#include <map>

namespace flash::script {
namespace {

// A host with a few local files.
class FileHost : public LibraryHost {
public:
    std::optional<std::string> readLocalFile(std::string_view url) override
    {
        const auto file = files.find(std::string(url));
        return file == files.end() ? std::nullopt : std::optional(file->second);
    }
    std::map<std::string, std::string> files;
};

class LoadVarsTest : public ::testing::Test {
protected:
    LoadVarsTest()
    {
        installXml(vm);
        installLoadVars(vm);
        installXmlSocket(vm);
    }

    // Runs `source` as a frame's actions; the trace lines, one per line.
    std::string run(std::string_view source, int version = 8)
    {
        host.traces.clear();
        auto bytes = std::make_shared<const std::vector<uint8_t>>(swfw::compileActionScript(source, { .swfVersion = version }));
        (void)vm.run(ActionBlock { *bytes, bytes, version }, nullptr);
        return traced();
    }

    // What the timers due now delivered.
    std::string tick()
    {
        host.traces.clear();
        vm.runDueTimers(host.timeMs());
        return traced();
    }

    std::string traced() const
    {
        std::string out;
        for (const std::string& line : host.traces)
            out += (out.empty() ? "" : "\n") + line;
        return out;
    }

    FileHost host;
    Interpreter vm { host };
};

TEST_F(LoadVarsTest, DecodeAndToStringUseTheQueryForm)
{
    EXPECT_EQ(run(R"(
        var v = new LoadVars();
        v.decode("a=1&b=x%20y+z&flag&=skipped&c=%zz%41&b=again");
        trace(v.a + "|" + v.b + "|" + v.flag + "|" + v.c + "|" + v.contentType);
        var out = new LoadVars();
        out.name = "J\u00e9r\u00f4me & co";
        out.n = 5;
        out.onLoad = function() {};
        trace(out);
    )"),
              "1|again||%zzA|application/x-www-form-urlencoded\n"
              // Most recently set first, as for..in lists them; functions go as their text.
              "onLoad=%5Btype%20Function%5D&n=5&name=J%C3%A9r%C3%B4me%20%26%20co");
}

TEST_F(LoadVarsTest, LoadAnswersAfterTheScriptReturns)
{
    host.files["vars.txt"] = "\xEF\xBB\xBF" "a=1&b=two";
    EXPECT_EQ(run(R"(
        var v = new LoadVars();
        v.onLoad = function(ok) { trace("onLoad " + ok + " " + this.a + this.b + " " + this.loaded + " " + this.getBytesLoaded() + "/" + this.getBytesTotal()); };
        trace(v.load("vars.txt") + " " + v.loaded + " " + v.a);
        var missing = new LoadVars();
        missing.onLoad = function(ok) { trace("missing " + ok + " " + this.loaded); };
        trace(missing.load("none.txt") + " " + missing.load());
        var raw = new LoadVars();
        raw.onData = function(src) { trace("raw " + src); };
        raw.load("vars.txt");
        var reply = new LoadVars();
        reply.onLoad = function(ok) { trace("reply " + ok); };
        trace(v.send("x") + " " + v.sendAndLoad("http://example.com/", reply));
        for (var k in v) trace("member " + k);
    )"),
              "true false undefined\ntrue false\nfalse true\nmember onLoad");
    EXPECT_EQ(tick(), "onLoad true 1two true 12/12\nmissing false false\nraw a=1&b=two\nreply false");
    EXPECT_EQ(tick(), "");
}

TEST_F(LoadVarsTest, ASocketConnectionIsRefusedAfterTheScriptReturns)
{
    EXPECT_EQ(run(R"(
        var socket = new XMLSocket();
        socket.onConnect = function(ok) { trace("onConnect " + ok); };
        trace("connect " + socket.connect("example.com", 8080));
    )"),
              "connect false");
    EXPECT_EQ(tick(), "onConnect false");
}

TEST_F(LoadVarsTest, PendingXmlLoadsOutliveTheirScriptAndACollection)
{
    host.files["doc.xml"] = "<r>\n <i n='1'/>\n</r>";
    (void)run(R"(
        function start() {
            var x = new XML();
            x.ignoreWhite = true;
            x.onData = function(src) { trace("data " + src.length); XML.prototype.onData.call(this, src); };
            x.onLoad = function(ok) { trace("xml " + ok + " " + this.status + " " + this.firstChild.firstChild.attributes.n); };
            x.load("doc.xml");
            var failed = new XML();
            failed.onLoad = function(ok) { trace("failed " + ok + " " + failed.loaded); };
            new XML().sendAndLoad("http://example.com/", failed);
        }
        start();
    )");
    // Garbage made after the script: the next host call collects before the timers run.
    for (int i = 0; i < 50'000; ++i)
        (void)vm.newObject();
    ASSERT_TRUE(vm.heap().isCollectionDue());
    EXPECT_EQ(tick(), "data 20\nxml true 0 1\nfailed false false");
}

TEST_F(LoadVarsTest, TextFilesAreReadInTheMovieEncoding)
{
    host.files["utf8.txt"] = "\xC3\xA9";
    host.files["bom.txt"] = "\xEF\xBB\xBF\xC3\xA9";
    host.files["utf16.txt"] = std::string("\xFF\xFE\xE9\x00\x3D\xD8\x00\xDE", 8); // é and U+1F600
    host.files["latin.txt"] = "\xE9";
    const auto read = [&](const std::string& file, int version, bool codepage) {
        (void)run("System.useCodepage = " + std::string(codepage ? "true" : "false") + "; var x = new XML();"
                  "x.onData = function(src) { trace(escape(src)); }; x.load('" + file + "');", version);
        return tick();
    };
    EXPECT_EQ(read("utf8.txt", 8, false), "%C3%A9");
    EXPECT_EQ(read("bom.txt", 8, false), "%C3%A9");
    EXPECT_EQ(read("utf16.txt", 8, false), "%C3%A9%F0%9F%98%80");
    EXPECT_EQ(read("latin.txt", 8, true), "%C3%A9");
    EXPECT_EQ(read("latin.txt", 5, false), "%E9");
}

} // namespace
} // namespace flash::script
