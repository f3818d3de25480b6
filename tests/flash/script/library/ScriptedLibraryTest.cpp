// The library as compiled scripts meet it: script compare functions and listeners,
// classes reached through packages, stand-ins, and the time limit inside a sort.
#include "LibraryTest.h"

namespace flash::script {
namespace {

using ScriptedLibraryTest = LibraryTest;

TEST_F(ScriptedLibraryTest, ScriptsSortSplitAndRound)
{
    EXPECT_EQ(run(R"(
        trace([3, 1, 2].sort());
        trace([5, 1, 10].sort(function(x, y) { return x - y; }));
        trace([10, 9, 1].sort(Array.NUMERIC | Array.DESCENDING));
        trace("a,b,,c".split(",").length);
        trace("hello".substr(-3, 2) + "|" + "hello".substring(3, 1) + "|" + "hello".slice(-3));
        trace(Math.round(-2.5) + " " + Math.max() + " " + (255).toString(16));
        var d = new Date(2005, 0, 31);
        d.setMonth(1);
        trace(d.getMonth() + "/" + d.getDate());
    )"),
              "1,2,3\n1,5,10\n10,9,1\n4\nll|el|llo\n-2 -Infinity ff\n2/3");
}

TEST_F(ScriptedLibraryTest, OlderMoviesFoldNamesAndCountBytes)
{
    EXPECT_EQ(run(R"(
        trace(math.ROUND(-2.5) + " " + [3, 1, 2].Sort() + " " + "h\u00e9llo".indexOf("l"));
    )", 6),
              "-2 1,2,3 2");
    EXPECT_EQ(run(R"(
        trace("h\u00e9llo".indexOf("l") + " " + "h\u00e9llo".length);
    )", 5),
              "3 6");
}

TEST_F(ScriptedLibraryTest, ListenersMayLeaveDuringABroadcast)
{
    EXPECT_EQ(run(R"(
        var b = {};
        AsBroadcaster.initialize(b);
        var first = { name: "first", onTick: function(n) { trace(this.name + " " + n); b.removeListener(this); } };
        var second = { name: "second", onTick: function(n) { trace(this.name + " " + n); } };
        b.addListener(first);
        b.addListener(second);
        b.broadcastMessage("onTick", 1);
        b.broadcastMessage("onTick", 2);
        for (var k in b) trace("enumerated " + k);
        Key.addListener(second);
        Key.broadcastMessage("onTick", 3);
    )"),
              "first 1\nsecond 1\nsecond 2\nsecond 3");
}

TEST_F(ScriptedLibraryTest, PackagesAndStandIns)
{
    EXPECT_EQ(run(R"(
        var p = new flash.geom.Point(1, 2);
        trace(p.add(new flash.geom.Point(2, 2)));
        var r = new flash.geom.Rectangle(0, 0, 10, 10);
        r.right = 30;
        trace(r.width + " " + r);
        var s = new Sound();
        s.setVolume(50);
        trace(s.getVolume() + " " + Key.isDown(65) + " " + Stage.width);
        Mouse.hide();
        var so = SharedObject.getLocal("x");
        so.data.a = 1;
        trace(so.data.a + " " + System.capabilities.os);
    )"),
              "(x=3, y=4)\n30 (x=0, y=0, w=30, h=10)\n100 false 0\n1 Linux");
}

TEST_F(ScriptedLibraryTest, ASlowCompareFunctionMeetsTheTimeLimit)
{
    vm.setTimeLimit(std::chrono::milliseconds(200));
    (void)run(R"(
        var a = [];
        for (var i = 0; i < 20000; i++) a.push(i);
        a.sort(function(x, y) { for (var j = 0; j < 100; j++) {} return y - x; });
        trace("finished");
    )");
    EXPECT_EQ(status, RunStatus::Stopped);
    EXPECT_TRUE(host.traces.empty());
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_NE(host.reports[0].find("ran longer than"), std::string::npos) << host.reports[0];
}

TEST_F(ScriptedLibraryTest, ArraysGrownByPushCountAgainstTheHeapLimit)
{
    vm.heap().setLimits({ .maxObjects = 1'000'000, .maxBytes = size_t(32) << 20 });
    (void)run(R"(
        var a = [];
        while (true) a.push(1, 2, 3, 4, 5, 6, 7, 8);
    )");
    EXPECT_EQ(status, RunStatus::Stopped);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_NE(host.reports[0].find("heap"), std::string::npos) << host.reports[0];
}

} // namespace
} // namespace flash::script
