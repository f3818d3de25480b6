// Variables and paths, functions (both DefineFunction forms, closures,
// recursion, arguments) and the global functions.
#include "ScriptTestSupport.h"

namespace flash::script::testing {
namespace {

using swfw::Avm1Assembler;

class Language : public ScriptTest { };

TEST_F(Language, VariablesThroughSlashColonAndDotPaths)
{
    FakeClip& a = host.addClip(host.root(), "a");
    host.addClip(a, "b");
    EXPECT_EQ(run(R"(
        set("/a/b:x", 5);
        trace(eval("/a/b:x"));
        trace(_root.a.b.x);
        a.b.y = "dot";
        trace(eval("a.b.y"));
        trace(eval("_root.a.b:y"));
        trace(typeof(a.b));
        trace(a.b);
    )", 6), "5\n5\ndot\ndot\nmovieclip\n_level0.a.b");
}

TEST_F(Language, IdentifiersIgnoreCaseUpToSixOnly)
{
    const char* source = "var Foo = 1; trace(foo); var o = {Bar: 2}; trace(o.bar);";
    EXPECT_EQ(run(source, 6), "1\n2");
    EXPECT_EQ(run(source, 7), "undefined\nundefined");
}

TEST_F(Language, FunctionsWithAndWithoutRegisters)
{
    const char* source = R"(
        function plus(a, b) { var sum = a + b; return sum; }
        trace(plus(2, 3));
        function count() { return arguments.length + ":" + arguments[1]; }
        trace(count("x", "y", "z"));
        function self() { return this.tag; }
        var o = {tag: "mine", f: self};
        trace(o.f());
    )";
    EXPECT_EQ(run(source, 7, true), "5\n3:y\nmine");
    EXPECT_EQ(run(source, 7, false), "5\n3:y\nmine");
    EXPECT_EQ(run(source, 5), "5\n3:y\nmine");
}

TEST_F(Language, RegisterFunctionsPreloadAndSuppress)
{
    using namespace swfw::function2;
    Avm1Assembler body;
    body.push(swfw::reg(1), "tag").getMember().trace();
    body.push(swfw::reg(2), "length").getMember().trace();
    body.push(swfw::reg(3), "marker").getMember().trace();
    body.push(swfw::reg(4)).trace();
    body.push("arguments").getVariable().typeOf().trace();
    Avm1Assembler a;
    a.defineFunction2("f", 5, PreloadThis | PreloadArguments | SuppressArguments | PreloadGlobal, { { 4, "x" } }, body);
    std::vector<uint8_t> rest = swfw::compileActionScript(R"(
        _global.marker = "g";
        var o = {tag: "T", f: f};
        o.f(7, 8);
    )");
    rest.pop_back();
    a.raw(rest);
    EXPECT_EQ(runBytes(a.bytes(), 8), "T\n2\ng\n7\nundefined");
}

TEST_F(Language, ClosuresKeepTheirDefiningScope)
{
    EXPECT_EQ(run(R"(
        function counter() { var n = 0; return function() { n++; return n; }; }
        var c1 = counter(); var c2 = counter();
        c1(); c1();
        trace(c1() + " " + c2());
        function outer() { undeclared = "on the clip"; }
        outer();
        trace(_root.undeclared);
    )"), "3 1\non the clip");
}

TEST_F(Language, RecursionStopsAtTheDepthLimit)
{
    EXPECT_EQ(run(R"(
        function fact(n) { if (n <= 1) return 1; return n * fact(n - 1); }
        trace(fact(10));
        function deep(n) { return deep(n + 1); }
        deep(0);
        trace("not reached");
    )"), "3628800");
    EXPECT_EQ(lastStatus, RunStatus::Stopped);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_NE(host.reports[0].find("256"), std::string::npos);
}

TEST_F(Language, CallAndApply)
{
    EXPECT_EQ(run(R"(
        function show(a, b) { return this.name + a + b; }
        var o = {name: "o"};
        trace(show.call(o, 1, 2));
        trace(show.apply(o, [3, 4]));
    )"), "o12\no34");
}

TEST_F(Language, LoopsAndStringsOfTheSwfFourFunctions)
{
    EXPECT_EQ(run(R"(
        var s = "";
        for (var i = 0; i < 5; i++) { if (i == 3) continue; s += i; }
        trace(s);
        trace(substring("hello", 2, 3));
        trace(length("hello") + " " + chr(65) + " " + ord("a") + " " + int(-3.7));
        trace(mbsubstring("h\u00e9llo", 2, 2) + " " + mblength("h\u00e9llo"));
    )", 6), "0124\nell\n5 A 97 -3\n\u00e9l 5");
}

TEST_F(Language, GlobalParsingAndEscaping)
{
    EXPECT_EQ(run(R"(
        trace(parseInt("0x1F")); trace(parseInt("010")); trace(parseInt("12px")); trace(parseInt("z", 36));
        trace(parseInt("abc")); trace(parseFloat(" 3.5e2xyz")); trace(isNaN("x")); trace(isFinite(1/0));
        trace(escape("a b/\u00e9")); trace(unescape("%41%zz+"));
        var version = getVersion; trace(version());
    )"), "31\n8\n12\n35\nNaN\n350\ntrue\nfalse\na%20b%2F%C3%A9\nA%zz+\nLNX 8,0,35,0");
}

TEST_F(Language, BoxedPrimitivesAndArraysPrint)
{
    EXPECT_EQ(run(R"(
        trace("abc".length); trace((5).toString()); trace((255).toString(16));
        var s = new String("xy"); trace(typeof s); trace(s.length); trace(s + "z");
        var a = [1, "b", [2, 3]]; trace(a); trace(a.length); trace(a.join("-"));
        var b = new Array(3); trace(b.length); b[5] = 1; trace(b.length);
        b.length = 1; trace(b);
        trace(new Boolean(false).toString());
    )"), "3\n5\nff\nobject\n2\nxyz\n1,b,2,3\n3\n1-b-2,3\n3\n6\nundefined\nfalse");
}

} // namespace
} // namespace flash::script::testing
