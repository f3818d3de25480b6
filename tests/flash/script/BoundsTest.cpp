// Hostile bytes and limits: truncated and corrupt blocks stop cleanly, an
// endless loop stops at the time limit, stack underflow reads undefined; and
// the disassembler's listing.
#include "ScriptTestSupport.h"

#include "flash/script/Disassembler.h"

#include <chrono>

namespace flash::script::testing {
namespace {

using swfw::Avm1Assembler;

class Bounds : public ScriptTest { };

const char* kRealScript = R"(
    var total = 0;
    function plus(a, b) { var t = a + b; return t; }
    var o = {n: 1, list: [1, 2.5, "three", null, undefined, true]};
    for (var k in o) { total = plus(total, 1); }
    with (o) { n = 2; }
    try { throw new Error("x"); } catch (e) { total += 10; } finally { total += 100; }
    trace("total " + total);
)";

TEST_F(Bounds, EveryTruncationAndCorruptionStopsCleanly)
{
    for (int version : { 5, 6, 8 }) {
        const std::vector<uint8_t> block = swfw::compileActionScript(kRealScript, { version, version >= 7 });
        EXPECT_EQ(runBytes(block, version), "total 112");
        for (size_t n = 0; n < block.size(); ++n) {
            std::vector<uint8_t> cut(block.begin(), block.begin() + long(n));
            (void)runBytes(cut, version);
            (void)disassemble(cut, version);
            std::vector<uint8_t> flipped = block;
            flipped[n] ^= 0xFF;
            (void)runBytes(flipped, version);
            (void)disassemble(flipped, version);
        }
    }
    SUCCEED();
}

TEST_F(Bounds, MalformedActionsStopTheirBlockWithOneReport)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    Avm1Assembler badJump, badConstant, badRegister, badBody, longLength;
    badJump.jump(int16_t(3000));
    badConstant.constantPool({ "a" }).push(swfw::constant(5)).trace();
    badRegister.push(swfw::reg(9)).trace();
    badBody.raw({ 0x9B, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x7F });
    longLength.raw({ 0x96, 0xFF, 0x00, 0x00 });
    const Case cases[] = { { "jump", badJump.bytes() }, { "constant", badConstant.bytes() },
                           { "register", badRegister.bytes() }, { "body", badBody.bytes() },
                           { "length", longLength.bytes() } };
    for (const Case& c : cases) {
        host.reports.clear();
        (void)runBytes(c.bytes, 7);
        EXPECT_EQ(lastStatus, RunStatus::Stopped) << c.what;
        EXPECT_EQ(host.reports.size(), 1u) << c.what;
    }
}

TEST_F(Bounds, DeeplyNestedTryBlocksStopInsteadOfExhaustingTheStack)
{
    // 5,000 Try actions, each wrapping the rest of the block (as many as a 16-bit body size allows).
    const size_t depth = 5'000;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < depth; ++i) {
        const size_t inner = (depth - i - 1) * 13;
        bytes.insert(bytes.end(), { 0x8F, 0x0A, 0x00, 0x00, uint8_t(inner & 0xFF), uint8_t(inner >> 8), 0, 0, 0, 0, 'e', 0, 0 });
    }
    bytes.push_back(0);
    (void)runBytes(bytes, 7);
    EXPECT_EQ(lastStatus, RunStatus::Stopped);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_NE(host.reports[0].find("nested"), std::string::npos);
}

TEST_F(Bounds, AnEndlessLoopStopsAtTheTimeLimit)
{
    vm.setTimeLimit(std::chrono::milliseconds(50));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run("trace(\"in\"); while (true) { }"), "in");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(lastStatus, RunStatus::Stopped);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_NE(host.reports[0].find("50 ms"), std::string::npos);
}

TEST_F(Bounds, StackUnderflowReadsUndefined)
{
    Avm1Assembler a;
    a.trace().add2().trace().pop().pop().push("after").trace();
    EXPECT_EQ(runBytes(a.bytes(), 7), "undefined\nNaN\nafter");
    EXPECT_EQ(lastStatus, RunStatus::Completed);
}

TEST(Disassembler, ListsPayloadsAndIndentsBodies)
{
    Avm1Assembler body;
    body.push(swfw::reg(1), 1).add2().returnOp();
    Avm1Assembler a;
    const swfw::Label end = a.newLabel();
    a.constantPool({ "f", "x" })
        .defineFunction2("f", 2, 0x0002, { { 1, "x" } }, body)
        .push(swfw::constant(1), 2.5, true, swfw::Null)
        .ifOp(end)
        .bind(end);
    EXPECT_EQ(disassemble(a.bytes(), 8),
              "0000  ConstantPool c0:\"f\" c1:\"x\"\n"
              "0009  DefineFunction2 \"f\" (r1:x) registers 2 flags 0x0002 size 12\n"
              "0018      Push r1 1\n"
              "0022      Add2\n"
              "0023      Return\n"
              "0024  Push c1 2.5 true null\n"
              "0035  If -> 003a\n"
              "003a  End\n");
}

} // namespace
} // namespace flash::script::testing
