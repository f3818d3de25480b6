// The compiler's output for the constructs whose shape matters to the
// interpreter, read back through a small disassembler, and its syntax errors.
#include "AsCompiler.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <map>
#include <sstream>

using namespace swfw;

namespace {

const std::map<uint8_t, const char*> kNames = {
    {0x04, "NextFrame"}, {0x05, "PrevFrame"}, {0x06, "Play"}, {0x07, "Stop"}, {0x0A, "Add"}, {0x0B, "Subtract"}, {0x0C, "Multiply"}, {0x0D, "Divide"},
    {0x0E, "Equals"}, {0x0F, "Less"}, {0x10, "And"}, {0x11, "Or"}, {0x12, "Not"}, {0x13, "StringEquals"}, {0x14, "StringLength"}, {0x15, "StringExtract"}, {0x17, "Pop"}, {0x18, "ToInteger"},
    {0x1C, "GetVariable"}, {0x1D, "SetVariable"}, {0x20, "SetTarget2"}, {0x21, "StringAdd"}, {0x22, "GetProperty"},
    {0x23, "SetProperty"}, {0x24, "CloneSprite"}, {0x25, "RemoveSprite"}, {0x26, "Trace"}, {0x27, "StartDrag"}, {0x28, "EndDrag"}, {0x29, "StringLess"}, {0x2A, "Throw"}, {0x2C, "ImplementsOp"},
    {0x30, "RandomNumber"}, {0x32, "CharToAscii"}, {0x33, "AsciiToChar"}, {0x34, "GetTime"}, {0x3A, "Delete"}, {0x3B, "Delete2"}, {0x3C, "DefineLocal"}, {0x3D, "CallFunction"},
    {0x3E, "Return"}, {0x3F, "Modulo"}, {0x40, "NewObject"}, {0x41, "DefineLocal2"}, {0x42, "InitArray"}, {0x43, "InitObject"},
    {0x44, "TypeOf"}, {0x46, "Enumerate"}, {0x47, "Add2"}, {0x48, "Less2"}, {0x49, "Equals2"}, {0x4A, "ToNumber"}, {0x4B, "ToString"},
    {0x4C, "PushDuplicate"}, {0x4D, "StackSwap"}, {0x4E, "GetMember"}, {0x4F, "SetMember"}, {0x50, "Increment"}, {0x51, "Decrement"},
    {0x52, "CallMethod"}, {0x53, "NewMethod"}, {0x54, "InstanceOf"}, {0x55, "Enumerate2"}, {0x60, "BitAnd"}, {0x61, "BitOr"}, {0x62, "BitXor"}, {0x63, "BitLShift"}, {0x64, "BitRShift"}, {0x65, "BitURShift"}, {0x66, "StrictEquals"},
    {0x67, "Greater"}, {0x68, "StringGreater"}, {0x69, "Extends"}, {0x81, "GotoFrame"}, {0x83, "GetURL"}, {0x87, "StoreRegister"},
    {0x88, "ConstantPool"}, {0x8A, "WaitForFrame"}, {0x8B, "SetTarget"}, {0x8C, "GoToLabel"}, {0x8D, "WaitForFrame2"}, {0x8E, "DefineFunction2"},
    {0x8F, "Try"}, {0x94, "With"}, {0x96, "Push"}, {0x99, "Jump"}, {0x9A, "GetURL2"}, {0x9B, "DefineFunction"},
    {0x9D, "If"}, {0x9F, "GotoFrame2"},
};

struct Reader {
    const std::vector<uint8_t>& b;
    size_t at;
    uint16_t u16() { at += 2; return static_cast<uint16_t>(b[at - 2] | b[at - 1] << 8); }
    uint32_t u32() { const uint32_t lo = u16(); return lo | uint32_t(u16()) << 16; }
    std::string str() { std::string s(reinterpret_cast<const char*>(&b[at])); at += s.size() + 1; return s; }
};

std::string number(double d)
{
    std::ostringstream s;
    s << d;
    return s.str();
}

std::string pushValues(Reader r, size_t end)
{
    std::string out;
    while (r.at < end) {
        out += out.empty() ? " " : ", ";
        switch (r.b[r.at++]) {
        case 0: out += '"' + r.str() + '"'; break;
        case 1: out += number(std::bit_cast<float>(r.u32())) + "f"; break;
        case 2: out += "null"; break;
        case 3: out += "undefined"; break;
        case 4: out += "r" + std::to_string(r.b[r.at++]); break;
        case 5: out += r.b[r.at++] ? "true" : "false"; break;
        case 6: { const uint64_t hi = r.u32(); out += number(std::bit_cast<double>(hi << 32 | r.u32())) + "d"; break; }
        case 7: out += std::to_string(static_cast<int32_t>(r.u32())); break;
        case 8: out += "c" + std::to_string(r.b[r.at++]); break;
        case 9: out += "c" + std::to_string(r.u16()); break;
        }
    }
    return out;
}

// One line per action: its name and its operands; branch targets as action indices.
std::vector<std::string> disassemble(const std::vector<uint8_t>& code)
{
    std::vector<std::string> lines;
    std::vector<size_t> starts;
    std::vector<std::pair<size_t, size_t>> branches; // line, target offset
    for (size_t at = 0; at < code.size();) {
        starts.push_back(at);
        const uint8_t op = code[at];
        const auto name = kNames.contains(op) ? kNames.at(op) : "?";
        std::string line = op == 0 ? "End" : name;
        Reader r{code, at + 1};
        const size_t length = op >= 0x80 ? r.u16() : 0;
        const size_t end = r.at + length;
        switch (op) {
        case 0x96: line += pushValues(r, end); break;
        case 0x87: line += " r" + std::to_string(code[r.at]); break;
        case 0x88: { const uint16_t n = r.u16(); for (uint16_t i = 0; i < n; ++i) line += (i ? ", " : " ") + r.str(); break; }
        case 0x81: line += " " + std::to_string(r.u16()); break;
        case 0x8B: case 0x8C: line += " \"" + r.str() + '"'; break;
        case 0x83: line += " \"" + r.str() + "\""; line += " \"" + r.str() + '"'; break;
        case 0x8A: line += " " + std::to_string(r.u16()); line += " skip " + std::to_string(code[r.at]); break;
        case 0x9A: case 0x9F: line += " " + std::to_string(code[r.at]); break;
        case 0x99: case 0x9D: branches.emplace_back(lines.size(), end + static_cast<int16_t>(r.u16())); break;
        case 0x9B: {
            line += " " + r.str() + "(";
            const uint16_t n = r.u16();
            for (uint16_t i = 0; i < n; ++i) line += (i ? ", " : "") + r.str();
            line += ") size " + std::to_string(r.u16());
            break;
        }
        case 0x8E: {
            line += " " + r.str() + "(";
            const uint16_t n = r.u16();
            const int regs = code[r.at++];
            const uint16_t flags = r.u16();
            for (uint16_t i = 0; i < n; ++i) { const int reg = code[r.at++]; line += (i ? ", " : "") + r.str() + ":r" + std::to_string(reg); }
            char tail[64];
            std::snprintf(tail, sizeof tail, ") regs %d flags %04x size %d", regs, flags, r.u16());
            line += tail;
            break;
        }
        case 0x8F: {
            const uint8_t flags = code[r.at++];
            const int t = r.u16(), c = r.u16(), f = r.u16();
            line += " try " + std::to_string(t) + " catch " + std::to_string(c) + " finally " + std::to_string(f);
            line += (flags & 4) ? " into r" + std::to_string(code[r.at]) : " into " + r.str();
            break;
        }
        case 0x94: line += " size " + std::to_string(r.u16()); break;
        default: break;
        }
        lines.push_back(line);
        at = end;
    }
    for (const auto& [line, target] : branches) {
        const auto it = std::find(starts.begin(), starts.end(), target);
        lines[line] += it == starts.end() ? " -> ?" : " -> " + std::to_string(it - starts.begin());
    }
    return lines;
}

std::vector<std::string> compiled(std::string_view source, CompileOptions options = {})
{
    return disassemble(compileActionScript(source, options));
}

} // namespace

using Listing = std::vector<std::string>;

TEST(AsCompiler, LoopsPoolTheirStringsAndBranchAroundTheBody)
{
    EXPECT_EQ(compiled(R"(var i = 0; while (i < 3) { trace("i=" + i); i++; })"),
              (Listing{"ConstantPool i, i=", "Push c0, 0", "DefineLocal",
                       "Push c0", "GetVariable", "Push 3", "Less2", "Not", "If -> 18",
                       "Push c1, c0", "GetVariable", "Add2", "Trace",
                       "Push c0, c0", "GetVariable", "Increment", "SetVariable", "Jump -> 3", "End"}));
}

TEST(AsCompiler, FunctionsKeepLocalsInRegistersUnlessAClosureSeesThem)
{
    // this takes register 1, the parameters and locals the next ones; unused preloads are suppressed.
    EXPECT_EQ(compiled("function f(a, b) { var s = a + b; return s * this.k; } f(1, 2);"),
              (Listing{"ConstantPool k, f", "DefineFunction2 f(a:r2, b:r3) regs 5 flags 0029 size 25",
                       "Push r2, r3", "Add2", "StoreRegister r4", "Pop", "Push r4, r1, c0", "GetMember", "Multiply", "Return",
                       "Push 2, 1, 2, c1", "CallFunction", "Pop", "End"}));
    EXPECT_EQ(compiled("function f(a) { var g = function() { return a; }; return g; }"),
              (Listing{"ConstantPool a", "DefineFunction2 f(a:r0) regs 2 flags 002a size 29",
                       "DefineFunction2 () regs 1 flags 002a size 7", "Push c0", "GetVariable", "Return",
                       "StoreRegister r1", "Pop", "Push r1", "Return", "End"}));
    EXPECT_EQ(compiled("function f(a) { return a > 1; }", {.swfVersion = 6}),
              (Listing{"ConstantPool a", "DefineFunction f(a) size 16", "Push c0", "GetVariable", "Push 1", "Greater",
                       "Return", "End"}));
}

TEST(AsCompiler, LogicalOperatorsLeaveTheDecidingOperand)
{
    EXPECT_EQ(compiled("x = a && b || c;"),
              (Listing{"ConstantPool x, a, b, c", "Push c0, c1", "GetVariable",
                       "PushDuplicate", "Not", "If -> 9", "Pop", "Push c2", "GetVariable",
                       "PushDuplicate", "If -> 14", "Pop", "Push c3", "GetVariable", "SetVariable", "End"}));
}

TEST(AsCompiler, CallsConstructionAndAssignmentsUsedAsValues)
{
    EXPECT_EQ(compiled(R"(y = o.p.q(1, "s"); z = new Foo(1); w = new a.B(); o.n += 2; q = ++i;)"),
              (Listing{"ConstantPool y, s, o, p, q, z, Foo, w, a, B, n, i",
                       "Push c0, c1, 1, 2, c2", "GetVariable", "Push c3", "GetMember", "Push c4", "CallMethod", "SetVariable",
                       "Push c5, 1, 1, c6", "NewObject", "SetVariable",
                       "Push c7, 0, c8", "GetVariable", "Push c9", "NewMethod", "SetVariable",
                       "Push c2", "GetVariable", "Push c10, c2", "GetVariable", "Push c10", "GetMember", "Push 2", "Add2", "SetMember",
                       "Push c4, c11, c11", "GetVariable", "Increment", "StoreRegister r0", "SetVariable", "Push r0", "SetVariable",
                       "End"}));
}

TEST(AsCompiler, LiteralsAndUnaryOperators)
{
    // Elements and properties are pushed last first, so that the first comes off the stack first.
    EXPECT_EQ(compiled(R"(a = [1, 2.5, "s"]; o = {a: 1, b: "x"}; delete o.a; delete q; c = (a instanceof Array) ? -1 : ~b;)"),
              (Listing{"ConstantPool a, s, o, b, x, q, c, Array",
                       "Push c0, c1, 2.5d, 1, 3", "InitArray", "SetVariable",
                       "Push c2, c3, c4, c0, 1, 2", "InitObject", "SetVariable",
                       "Push c2", "GetVariable", "Push c0", "Delete", "Pop", "Push c5", "Delete2", "Pop",
                       "Push c6, c0", "GetVariable", "Push c7", "GetVariable", "InstanceOf", "If -> 26",
                       "Push c3", "GetVariable", "Push 4.29497e+09d", "BitXor", "Jump -> 27", "Push -1", "SetVariable", "End"}));
}

TEST(AsCompiler, ForInPopsTheNamesLeftWhenItBreaks)
{
    EXPECT_EQ(compiled(R"(for (var k in o) { if (k == "x") break; trace(k); })"),
              (Listing{"ConstantPool o, k, x", "Push c0", "GetVariable", "Enumerate2",
                       "StoreRegister r0", "Push null", "Equals2", "If -> 25", "Push c1, r0", "DefineLocal",
                       "Push c1", "GetVariable", "Push c2", "Equals2", "Not", "If -> 17", "Jump -> 21",
                       "Push c1", "GetVariable", "Trace", "Jump -> 4",
                       "Push null", "Equals2", "Not", "If -> 21", "End"}));
}

TEST(AsCompiler, SwitchTestsEveryCaseStrictlyThenFallsThrough)
{
    EXPECT_EQ(compiled(R"(switch (v) { case 1: trace("one"); break; case "a": default: trace("d"); })"),
              (Listing{"ConstantPool v, a, one, d", "Push c0", "GetVariable", "StoreRegister r0",
                       "Push 1", "StrictEquals", "If -> 11", "Push r0, c1", "StrictEquals", "If -> 14", "Jump -> 14",
                       "Push c2", "Trace", "Jump -> 16", "Push c3", "Trace", "End"}));
}

TEST(AsCompiler, TryCatchesIntoAVariableAtTopLevelAndARegisterInFunctions)
{
    EXPECT_EQ(compiled(R"(try { throw new Error("e"); } catch (e) { trace(e); } finally { trace("f"); })"),
              (Listing{"ConstantPool e, Error, f", "Try try 14 catch 7 finally 6 into e",
                       "Push c0, 1, c1", "NewObject", "Throw", "Push c0", "GetVariable", "Trace", "Push c2", "Trace", "End"}));
    EXPECT_EQ(compiled("function g() { try { throw 1; } catch (err) { return err; } }"),
              (Listing{"DefineFunction2 g() regs 2 flags 002a size 26", "Try try 9 catch 6 finally 0 into r1",
                       "Push 1", "Throw", "Push r1", "Return", "End"}));
}

TEST(AsCompiler, GlobalFunctionsWithActionsOfTheirOwn)
{
    EXPECT_EQ(compiled(R"(gotoAndStop(3); gotoAndPlay("lbl"); gotoAndStop(n); setProperty("mc", _x, 10);
                          trace(getProperty(mc, _alpha)); tellTarget("/a") { play(); } ifFrameLoaded(5) { nextFrame(); }
                          getURL("http://x", "_blank"); loadMovie("a.swf", mc); duplicateMovieClip(mc, "n", 5);)"),
              (Listing{"ConstantPool n, mc, a.swf", "GotoFrame 2", "GoToLabel \"lbl\"", "Play",
                       "Push c0", "GetVariable", "GotoFrame2 0",
                       "Push c1, 0, 10", "SetProperty", "Push c1", "GetVariable", "Push 6", "GetProperty", "Trace",
                       "SetTarget \"/a\"", "Play", "SetTarget \"\"", "WaitForFrame 4 skip 1", "NextFrame",
                       "GetURL \"http://x\" \"_blank\"", "Push c2, c1", "GetVariable", "GetURL2 64",
                       "Push c1", "GetVariable", "Push c0, 5, 16384", "Add", "CloneSprite", "End"}));
}

TEST(AsCompiler, ClassesFollowTheFlash8Layout)
{
    EXPECT_EQ(compiled("class pkg.A extends pkg.B implements I { var x = 1; static var n = 0;"
                       " function A(a) { super(a); x = a; } function m() { return super.m() + x; }"
                       " static function s() { return n; } }"),
              (Listing{"ConstantPool _global, pkg, Object, A, x, B, prototype, I, n, m, s, ASSetPropFlags",
                       // if (!_global.pkg) _global.pkg = new Object();
                       "Push c0", "GetVariable", "Push c1", "GetMember", "Not", "Not", "If -> 13",
                       "Push c0", "GetVariable", "Push c1, 0, c2", "NewObject", "SetMember",
                       // if (!_global.pkg.A) { ... }
                       "Push c0", "GetVariable", "Push c1", "GetMember", "Push c3", "GetMember", "Not", "Not", "If -> 74",
                       // _global.pkg.A = the constructor, kept in register 1
                       "Push c0", "GetVariable", "Push c1", "GetMember", "Push c3",
                       "DefineFunction2 (a:r3) regs 4 flags 0019 size 25",
                       "Push r3, 1, r2, undefined", "CallMethod", "Pop", "Push r1, c4, r3", "SetMember",
                       "StoreRegister r1", "SetMember",
                       "Push r1, c1", "GetVariable", "Push c5", "GetMember", "Extends",
                       "Push r1, c6", "GetMember", "StoreRegister r2", "Pop",
                       "Push c7", "GetVariable", "Push 1, r1", "ImplementsOp",
                       "Push r2, c4, 1", "SetMember", "Push r1, c8, 0", "SetMember",
                       "Push r2, c9", "DefineFunction2 () regs 3 flags 0019 size 23",
                       "Push 0, r2, c9", "CallMethod", "Push r1, c4", "GetMember", "Add2", "Return", "SetMember",
                       "Push r1, c10", "DefineFunction2 () regs 1 flags 002a size 19",
                       "Push c1", "GetVariable", "Push c3", "GetMember", "Push c8", "GetMember", "Return", "SetMember",
                       "Push 1, null, r2, 3, c11", "CallFunction", "Pop", "End"}));
}

TEST(AsCompiler, OlderVersionsUseTheActionsTheyHave)
{
    // SWF 5: Enumerate takes the variable's name, and > is a swapped Less2.
    EXPECT_EQ(compiled("for (k in o) trace(k); x = a > b;", {.swfVersion = 5}),
              (Listing{"ConstantPool o, k, x, a, b", "Push c0", "Enumerate",
                       "StoreRegister r0", "Push null", "Equals2", "If -> 13", "Push c1, r0", "SetVariable",
                       "Push c1", "GetVariable", "Trace", "Jump -> 3",
                       "Push c2, c3", "GetVariable", "Push c4", "GetVariable", "StackSwap", "Less2", "SetVariable", "End"}));
    // SWF 4: no pool, Add, StringAdd for `add`, And for &&, > as Less with the operands swapped.
    EXPECT_EQ(compiled(R"(x = a add "b"; if (a > b && c) y = a + 1;)", {.swfVersion = 4}),
              (Listing{"Push \"x\", \"a\"", "GetVariable", "Push \"b\"", "StringAdd", "SetVariable",
                       "Push \"b\"", "GetVariable", "Push \"a\"", "GetVariable", "Less",
                       "Push \"c\"", "GetVariable", "And", "Not", "If -> 20",
                       "Push \"y\", \"a\"", "GetVariable", "Push 1", "Add", "SetVariable", "End"}));
}

TEST(AsCompiler, ErrorsNameTheLineAndColumnWhereReadingStopped)
{
    const auto where = [](std::string_view source) {
        try {
            (void)compileActionScript(source);
        } catch (const AsSyntaxError& e) {
            return std::to_string(e.line()) + ":" + std::to_string(e.column()) + " " + e.what();
        }
        return std::string("no error");
    };
    EXPECT_EQ(where("x = 1;\n  y = (2 + ;"), "2:12 line 2, column 12: expected an expression but found ';'");
    EXPECT_EQ(where("a = \"abc"), "1:5 line 1, column 5: string is not closed");
    EXPECT_EQ(where("x = 1 y = 2;"), "1:7 line 1, column 7: expected ';' but found 'y'");
    EXPECT_EQ(where("if (x) {\n  break;\n}"), "2:3 line 2, column 3: break outside a loop or switch");
    EXPECT_EQ(where("a + b = 3;"), "1:3 line 1, column 3: cannot assign to this expression");
    EXPECT_EQ(where("trace();"), "1:6 line 1, column 6: trace takes 1 argument");
    EXPECT_EQ(where(R"(a = "\u0000";)"), "1:6 line 1, column 6: strings cannot hold the character 0");
}

TEST(AsCompiler, TargetsWithSideEffectsAreEvaluatedOnce)
{
    // Outside a function register 0 keeps the key; a postfix value waits there while the new one is stored.
    EXPECT_EQ(compiled("a[f()] += 1; x = o.n++;"),
              (Listing{"ConstantPool a, f, x, o, n", "Push c0", "GetVariable", "Push 0, c1", "CallFunction", "StoreRegister r0",
                       "Push c0", "GetVariable", "Push r0", "GetMember", "Push 1", "Add2", "SetMember",
                       "Push c2, c3", "GetVariable", "Push c4, c3", "GetVariable", "Push c4", "GetMember",
                       "StoreRegister r0", "Increment", "SetMember", "Push r0", "SetVariable", "End"}));
    // Inside DefineFunction2 the key gets a register of its own, counted in the function's registers.
    EXPECT_EQ(compiled("function g(o) { o[k()]++; return o.n--; }"),
              (Listing{"ConstantPool k, n", "DefineFunction2 g(o:r1) regs 3 flags 002a size 51",
                       "Push r1, 0, c0", "CallFunction", "StoreRegister r2", "Push r1, r2", "GetMember", "Increment", "SetMember",
                       "Push r1, c1, r1, c1", "GetMember", "StoreRegister r0", "Decrement", "SetMember", "Push r0", "Return",
                       "End"}));
}

TEST(AsCompiler, PreloadedArgumentsAndRootTakeTheFirstRegisters)
{
    EXPECT_EQ(compiled("function h() { for (var i = 0; i < 2; i++) trace(arguments[i] + _root.v); }"),
              (Listing{"ConstantPool v", "DefineFunction2 h() regs 4 flags 0066 size 64",
                       "Push 0", "StoreRegister r3", "Pop", "Push r3, 2", "Less2", "Not", "If -> 20",
                       "Push r1, r3", "GetMember", "Push r2, c0", "GetMember", "Add2", "Trace",
                       "Push r3", "Increment", "StoreRegister r3", "Pop", "Jump -> 5", "End"}));
}

TEST(AsCompiler, StringsBeyondWhatThePoolHoldsArePushedAsThemselves)
{
    std::string source;
    for (int i = 0; i < 70; ++i)
        source += "trace(\"" + std::to_string(i) + std::string(1000, 'x') + "\");\n";
    const auto block = compileActionScript(source);
    ASSERT_EQ(block[0], 0x88);
    const size_t poolLength = block[1] | block[2] << 8;
    const uint16_t pooled = block[3] | block[4] << 8;
    EXPECT_EQ(pooled, 65); // 65 strings of about 1000 bytes fill the u16 payload
    const auto lines = disassemble(block);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("Push \""); }), 5);
    EXPECT_LE(poolLength, 0xFFFFu);
}
// The rest of the language, compiled for three targets: every action known, every branch landing on one.
TEST(AsCompiler, EveryConstructCompilesAtEachVersion)
{
    for (const char* src : {
             "do { i--; if (i == 2) continue; } while (i > 0);",
             "for (var i = 0; i < 10; i++) { if (i % 2) continue; trace(i); }",
             "var s = 'a\\tb\\u00e9\\\\'; var h = 0xFF + 1e3 + .5;",
             "var o = new Array(3); o.push(function (x) { return this.y * x; });",
             "function f() { with (this) { trace(p); } return typeof arguments; }",
             "x = a ? b ? 1 : 2 : 3; y = !a; z = +a; w = -a; v = void 0;",
             "interface pkg.I { function m(a:Number):Void; } class C implements pkg.I { function m(a:Number):Void { trace(a); } }",
             "class D extends C { function D() { } }",
             "startDrag(\"/mc\", true, 0, 0, 10, 10); stopDrag(); removeMovieClip(mc); loadVariablesNum(\"v.txt\", 0, \"POST\"); fscommand(\"quit\");",
             "i = random(5) + int(3.7) + getTimer() + length(s) + ord(chr(65)) + substring(s, 1, 2);",
             "function r(n) { if (n <= 1) return 1; return n * r(n - 1); } trace(r(5));",
             "var a = 1, b; b = a = 2; a <<= 1; a >>>= 1; a ^= 3; a %= 2; a |= 8; a &= 12;",
             "t = 1 eq 2; u = \"a\" lt \"b\"; w = \"a\" ge \"b\"; ifFrameLoaded(f) { play(); }",
         }) {
        for (CompileOptions o : {CompileOptions{}, CompileOptions{.swfVersion = 6}, CompileOptions{.swfVersion = 5, .registers = false}}) {
            std::vector<std::string> l;
            EXPECT_NO_THROW(l = compiled(src, o)) << src;
            for (const auto& line : l)
                EXPECT_TRUE(line != "?" && !line.ends_with("-> ?")) << src << ": " << line;
        }
    }
}
