// Conversions and comparisons: number printing, string parsing and the
// version rules for undefined, empty strings and truthiness.
#include "ScriptTestSupport.h"

#include "flash/script/Conversions.h"

#include <cmath>
#include <limits>

namespace flash::script::testing {
namespace {

using swfw::Avm1Assembler;

TEST(NumberPrinting, FifteenDigitsAndTheRuntimesExponentForm)
{
    const std::pair<double, const char*> cases[] = {
        { 0, "0" }, { -0.0, "0" }, { 1, "1" }, { -2.5, "-2.5" }, { 0.1 + 0.2, "0.3" }, { 1.0 / 3, "0.333333333333333" },
        { 123456789012345, "123456789012345" }, { 1e15, "1e+15" }, { 1e21, "1e+21" }, { 1.5e-7, "1.5e-7" },
        { 0.0001, "0.0001" }, { 0.00001, "1e-5" }, { std::numeric_limits<double>::infinity(), "Infinity" },
        { -std::numeric_limits<double>::infinity(), "-Infinity" }, { std::nan(""), "NaN" },
    };
    for (const auto& [number, text] : cases)
        EXPECT_EQ(numberToString(number), text) << number;
    EXPECT_EQ(numberToString(255, 16), "ff");
    EXPECT_EQ(numberToString(-5, 2), "-101");
}

TEST(StringToNumber, WhitespaceHexAndEmptyByVersion)
{
    EXPECT_EQ(stringToNumber(" \t\n12.5", 7), 12.5);
    EXPECT_TRUE(std::isnan(stringToNumber("12 ", 7)));
    EXPECT_TRUE(std::isnan(stringToNumber("12abc", 7)));
    EXPECT_EQ(stringToNumber("1e3", 7), 1000);
    EXPECT_EQ(stringToNumber(".5", 7), 0.5);
    EXPECT_EQ(stringToNumber("0x1F", 6), 31);
    EXPECT_EQ(stringToNumber("-0x10", 8), -16);
    EXPECT_TRUE(std::isnan(stringToNumber("0x1F", 5)));
    EXPECT_EQ(stringToNumber("", 6), 0);
    EXPECT_TRUE(std::isnan(stringToNumber("", 7)));
    EXPECT_TRUE(std::isnan(stringToNumber("Infinity", 8)));
}

TEST(IntegerConversion, WrapsModuloTwoToThe32)
{
    EXPECT_EQ(toInt32(4294967296.0 + 5), 5);
    EXPECT_EQ(toInt32(2147483648.0), -2147483647 - 1);
    EXPECT_EQ(toInt32(-1.9), -1);
    EXPECT_EQ(toUint32(-1), 4294967295u);
    EXPECT_EQ(toInt32(std::nan("")), 0);
    EXPECT_EQ(toInt32(std::numeric_limits<double>::infinity()), 0);
}

class VersionRules : public ScriptTest { };

TEST_F(VersionRules, UndefinedEmptyStringsAndTruthChangeAtSeven)
{
    const char* source = R"(
        var u;
        trace("[" + u + "]");
        trace(u + 1);
        trace(Number(""));
        if ("abc") { trace("abc is true"); } else { trace("abc is false"); }
        if ("1") { trace("1 is true"); }
        trace("0x10" * 1);
    )";
    EXPECT_EQ(run(source, 6), "[]\n1\n0\nabc is false\n1 is true\n16");
    EXPECT_EQ(run(source, 7), "[undefined]\nNaN\nNaN\nabc is true\n1 is true\n16");
    EXPECT_EQ(run("trace(\"0x10\" * 1);", 5), "NaN");
}

TEST_F(VersionRules, EqualityAndComparisonTables)
{
    EXPECT_EQ(run(R"(
        trace(1 == "1"); trace(null == undefined); trace(0 == ""); trace(NaN == NaN);
        trace(true == 1); trace("a" < "b"); trace(1 < "2"); trace(undefined < 1);
        trace(1 === "1"); trace(null === undefined); trace("10" > "9"); trace(10 > "9");
        var o = {valueOf: function() { return 7; }};
        trace(o == 7); trace(o + 1); trace(o < 8);
    )", 7), "true\ntrue\nfalse\nfalse\ntrue\ntrue\ntrue\nundefined\nfalse\nfalse\nfalse\ntrue\ntrue\n8\ntrue");
}

TEST_F(VersionRules, SwfFourOperatorsAreNumericAndPushNumbers)
{
    Avm1Assembler a;
    a.push("abc", "abd").equals().trace();
    a.push("5", 5).equals().trace();
    a.push("abc", "abd").stringLess().trace();
    a.push("abc", "abc").stringEquals().trace();
    a.push(1, 0).divide().trace();
    a.push("a", "b").stringAdd().trace();
    EXPECT_EQ(runBytes(a.bytes(), 4), "0\n1\n1\n1\n#ERROR#\nab");
}

TEST_F(VersionRules, BitOperationsUseInt32)
{
    EXPECT_EQ(run("trace(1 << 31); trace(-1 >>> 0); trace(-8 >> 1); trace(5.7 | 0); trace(~0);"),
              "-2147483648\n4294967295\n-4\n5\n-1");
}

} // namespace
} // namespace flash::script::testing
