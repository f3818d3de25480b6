// Exceptions: try/catch/finally, with return, nested, and thrown across calls.
#include "ScriptTestSupport.h"

#include <algorithm>

namespace flash::script::testing {
namespace {

using swfw::Avm1Assembler;

class Exceptions : public ScriptTest { };

TEST_F(Exceptions, CatchFinallyAndReturn)
{
    EXPECT_EQ(run(R"(
        try { throw "boom"; trace("skipped"); } catch (e) { trace("caught " + e); } finally { trace("finally"); }
        function f() { try { return "from try"; } finally { trace("finally runs first"); } }
        trace(f());
        function g() { try { return 1; } finally { return 2; } }
        trace(g());
        function h() { try { throw 1; } catch (e) { return "catch returns"; } finally { trace("after catch"); } }
        trace(h());
        var err = new Error("bad"); trace(err.message + " " + err);
    )"), "caught boom\nfinally\nfinally runs first\nfrom try\n2\nafter catch\ncatch returns\nbad bad");
}

TEST_F(Exceptions, RethrowAcrossCallsAndNesting)
{
    EXPECT_EQ(run(R"(
        function inner() { throw new Error("deep"); }
        function middle() { try { inner(); } finally { trace("middle cleanup"); } }
        try { middle(); } catch (e) { trace("outer got " + e.message); }
        try {
            try { throw "first"; } catch (e) { trace("inner " + e); throw "second"; }
        } catch (e2) { trace("outer " + e2); }
    )"), "middle cleanup\nouter got deep\ninner first\nouter second");
}

TEST_F(Exceptions, JumpingOutOfATryRunsFinallyFirst)
{
    Avm1Assembler body, cleanup, a;
    const swfw::Label out = a.newLabel();
    body.push("in try").trace().jump(int16_t(100)); // patched below to land past the Try
    cleanup.push("finally").trace();
    swfw::TryParts parts { body, std::string("e"), std::nullopt, cleanup };
    a.tryOp(parts).push("skipped").trace().bind(out).push("after").trace();
    std::vector<uint8_t> bytes = a.bytes();
    // The jump's offset counts from the end of the try body; aim it at the "after" push.
    const std::vector<uint8_t> after = { 0x96, 0x07, 0x00, 0x00, 'a', 'f', 't', 'e', 'r', 0x00 };
    const auto afterAt = std::search(bytes.begin(), bytes.end(), after.begin(), after.end()) - bytes.begin();
    const std::vector<uint8_t> jump = { 0x99, 0x02, 0x00, 100, 0 };
    const auto jumpAt = std::search(bytes.begin(), bytes.end(), jump.begin(), jump.end()) - bytes.begin();
    const auto offset = int16_t(afterAt - (jumpAt + 5));
    bytes[size_t(jumpAt) + 3] = uint8_t(offset & 0xFF);
    bytes[size_t(jumpAt) + 4] = uint8_t(offset >> 8);
    EXPECT_EQ(runBytes(bytes, 7), "in try\nfinally\nafter");
}

TEST_F(Exceptions, UncaughtStopsTheBlockWithOneReport)
{
    EXPECT_EQ(run(R"(trace("before"); throw "nobody catches"; trace("after");)"), "before");
    EXPECT_EQ(lastStatus, RunStatus::Stopped);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0], "Uncaught exception: nobody catches");
    EXPECT_EQ(run("trace(\"next block runs\");"), "next block runs");
}

} // namespace
} // namespace flash::script::testing
