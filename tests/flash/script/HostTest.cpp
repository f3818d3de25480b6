// The host seam: timeline and clip actions reach the host, host calls into
// functions, and timers fire from the host's tick.
#include "ScriptTestSupport.h"

namespace flash::script::testing {
namespace {

using swfw::Avm1Assembler;

class HostSeam : public ScriptTest { };

TEST_F(HostSeam, TimelineActionsReachTheirTargets)
{
    FakeClip& a = host.addClip(host.root(), "a");
    a.loadedFrames = 2;
    run(R"(
        gotoAndPlay(3);
        gotoAndStop("intro");
        tellTarget("/a") { stop(); nextFrame(); }
        a.play();
        getURL("FSCommand:quit", "");
        removeMovieClip("/a");
        duplicateMovieClip("/a", "copy", 5);
        startDrag("/a", true, 1, 2, 3, 4);
        stopDrag();
        trace(getProperty("/a", _name));
    )", 6);
    const std::vector<std::string> expected = {
        "gotoFrame _level0 2 stop", "play _level0", "gotoLabel _level0 intro stop", "stop a", "nextFrame a",
        "getUrl FSCommand:quit  0", "remove a", "clone a copy 16389", "startDrag a lock 1,2,3,4", "endDrag",
    };
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(host.output(), "a");
}

TEST_F(HostSeam, FrameStringsTargetsAndUrlFlags)
{
    FakeClip& a = host.addClip(host.root(), "a");
    host.addClip(a, "kid");
    Avm1Assembler asm_;
    asm_.push("/a:intro").gotoFrame2(swfw::AfterGoto::Play);
    asm_.push(2).gotoFrame2(swfw::AfterGoto::Stop, 10);
    asm_.push("/a:intro").call();
    asm_.push("page.html", "_blank").getUrl2(swfw::UrlMethod::Post, swfw::UrlTarget::Window, swfw::UrlLoad::Variables);
    asm_.push("a").getVariable().setTarget2().stop().push("").setTarget2().play();
    asm_.push("a").getVariable().targetPath().trace();
    (void)runBytes(asm_.bytes(), 6);
    const std::vector<std::string> expected = {
        "gotoLabel a intro play", "gotoFrame _level0 11 stop", "callFrame a 4", "getUrl page.html _blank 2 vars",
        "stop a", "play _level0",
    };
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(host.output(), "_level0.a");
    EXPECT_EQ(run(R"(
        var names = ""; for (var n in _root.a) names += n; trace(names);
        with (_root.a) { trace(kid._name); }
        var o = {v: 1}; with (o) { v = 2; } trace(o.v);
    )"), "kid\nkid\n2");
}

TEST_F(HostSeam, WaitForFrameSkipsWhatIsNotLoaded)
{
    host.root().loadedFrames = 3;
    Avm1Assembler a;
    a.waitForFrame(2, 1).push("frame 3 loaded").trace();
    a.waitForFrame(5, 2).push("frame 6 loaded").trace();
    a.push("done").trace();
    EXPECT_EQ(runBytes(a.bytes(), 4), "frame 3 loaded\ndone");
}

TEST_F(HostSeam, HostCallsFunctionsAndMethods)
{
    run("_root.onThing = function(x) { trace(\"got \" + x); return x * 2; };");
    const Value arg(21.0);
    host.traces.clear();
    auto result = vm.callMethod(Value(static_cast<Object*>(host.root().object)), "onThing", std::span<const Value>(&arg, 1));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->asNumber(), 42);
    EXPECT_EQ(host.output(), "got 21");
    EXPECT_FALSE(vm.callMethod(Value(static_cast<Object*>(host.root().object)), "absent"));
}

TEST_F(HostSeam, TimersFireFromTheTick)
{
    run(R"(
        var ticks = 0;
        var id = setInterval(function(tag) { ticks++; trace(tag + ticks); if (ticks == 3) clearInterval(id); }, 100, "i");
        setTimeout(function() { trace("once"); }, 150);
        var o = {m: function(a, b) { trace("method " + a + b); }};
        setInterval(o, "m", 1000, "x", "y");
    )");
    host.traces.clear();
    for (double t = 0; t <= 500; t += 50)
        vm.runDueTimers(t);
    EXPECT_EQ(host.output(), "i1\nonce\ni2\ni3");
    host.traces.clear();
    vm.runDueTimers(1000);
    EXPECT_EQ(host.output(), "method xy");
    run("for (var n = 0; n < 10; n++) setInterval(function() { trace(\"t\"); }, 1);");
    host.traces.clear();
    vm.runDueTimers(5000, 4);
    EXPECT_EQ(host.traces.size(), 4u);
}

TEST_F(HostSeam, RegisterClassGoesThroughTheHost)
{
    run("function Ball() {} Object.registerClass(\"ball\", Ball); Object.registerClass(\"gone\", null);");
    const std::vector<std::string> expected = { "registerClass ball", "registerClass gone none" };
    EXPECT_EQ(host.calls, expected);
}

} // namespace
} // namespace flash::script::testing
