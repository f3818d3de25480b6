// String methods: split edge cases, the three substring methods, searching and characters by version.
#include "LibraryTest.h"

namespace flash::script {
namespace {

using StringMethodsTest = LibraryTest;

TEST_F(StringMethodsTest, SplitEdgeCases)
{
    const auto parts = [&](const Value& s, std::initializer_list<Value> args) {
        const Value a = call(s, "split", args);
        return text(get(a, "length")) + ":" + text(call(a, "join", { "|" }));
    };
    EXPECT_EQ(parts("a,b,,c", { "," }), "4:a|b||c");
    EXPECT_EQ(parts("a,b,c", { ",", 2 }), "2:a|b");
    EXPECT_EQ(parts("a,b,c", { ",", 0 }), "0:");
    EXPECT_EQ(parts("abc", { "" }), "3:a|b|c");
    EXPECT_EQ(parts("a,b", {}), "1:a,b");
    EXPECT_EQ(parts("", { "," }), "1:");
    EXPECT_EQ(parts("a::b::", { "::" }), "3:a|b|");
    EXPECT_EQ(parts("h\xC3\xA9!", { "" }), "3:h|\xC3\xA9|!");
}

TEST_F(StringMethodsTest, SubstrSubstringAndSliceTreatNegativesDifferently)
{
    const Value s("hello");
    EXPECT_EQ(text(call(s, "substr", { 1, 3 })), "ell");
    EXPECT_EQ(text(call(s, "substr", { -3, 2 })), "ll");
    EXPECT_EQ(text(call(s, "substr", { 2 })), "llo");
    EXPECT_EQ(text(call(s, "substr", { 1, -1 })), "");
    EXPECT_EQ(text(call(s, "substring", { 3, 1 })), "el");
    EXPECT_EQ(text(call(s, "substring", { -2, 2 })), "he");
    EXPECT_EQ(text(call(s, "substring", { 2, 99 })), "llo");
    EXPECT_EQ(text(call(s, "slice", { -3 })), "llo");
    EXPECT_EQ(text(call(s, "slice", { 1, -1 })), "ell");
    EXPECT_EQ(text(call(s, "slice", { 3, 1 })), "");
    EXPECT_EQ(text(call(s, "substr", { std::numeric_limits<double>::quiet_NaN(), 1e300 })), "hello");
}

TEST_F(StringMethodsTest, SearchingAndCharacters)
{
    const Value s("abcabc");
    EXPECT_EQ(text(call(s, "indexOf", { "c" })), "2");
    EXPECT_EQ(text(call(s, "indexOf", { "c", 3 })), "5");
    EXPECT_EQ(text(call(s, "indexOf", { "x" })), "-1");
    EXPECT_EQ(text(call(s, "indexOf", { "" })), "0");
    EXPECT_EQ(text(call(s, "lastIndexOf", { "a" })), "3");
    EXPECT_EQ(text(call(s, "lastIndexOf", { "a", 2 })), "0");
    EXPECT_EQ(text(call(s, "lastIndexOf", { "a", std::numeric_limits<double>::quiet_NaN() })), "3");
    EXPECT_EQ(text(call(s, "charAt", { 4 })), "b");
    EXPECT_EQ(text(call(s, "charAt", { 6 })), "");
    EXPECT_EQ(text(call(s, "charCodeAt", { 0 })), "97");
    EXPECT_EQ(text(call(s, "charCodeAt", { -1 })), "NaN");
    EXPECT_EQ(text(call(s, "concat", { 1, true })), "abcabc1true");
    EXPECT_EQ(text(call(global("String"), "fromCharCode", { 72, 105, 233 })), "Hi\xC3\xA9");
}

TEST_F(StringMethodsTest, PositionsCountCharactersFromVersionSixAndBytesBefore)
{
    const Value s("h\xC3\xA9llo");
    EXPECT_EQ(text(call(s, "indexOf", { "l" })), "2");
    EXPECT_EQ(text(call(s, "charAt", { 1 })), "\xC3\xA9");
    EXPECT_EQ(text(call(s, "charCodeAt", { 1 })), "233");
    EXPECT_EQ(text(get(s, "length")), "5");

    vm.setDefaultVersion(5);
    EXPECT_EQ(text(call(s, "indexOf", { "l" })), "3");
    EXPECT_EQ(text(call(s, "charCodeAt", { 1 })), "195");
    EXPECT_EQ(text(get(s, "length")), "6");
}

TEST_F(StringMethodsTest, WalkingTextForwardAndBackReadsEveryCharacter)
{
    const std::vector<std::string> characters = { "a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9D\x84\x9E" };
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += characters[size_t(i) % 4];
    const Value s(text);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(this->text(call(s, "charAt", { i })), characters[size_t(i) % 4]) << i;
    for (int i = 299; i >= 0; i -= 7)
        ASSERT_EQ(this->text(call(s, "substr", { i, 2 })), characters[size_t(i) % 4] + (i < 299 ? characters[size_t(i + 1) % 4] : "")) << i;
    EXPECT_EQ(this->text(call(s, "indexOf", { "\xE2\x82\xAC", 5 })), "6");
    EXPECT_EQ(this->text(call(Value("plain"), "charAt", { 2 })), "a");
    EXPECT_EQ(this->text(call(s, "lastIndexOf", { "a" })), "296");
}

TEST_F(StringMethodsTest, CaseChangesCoverLettersBeyondAscii)
{
    EXPECT_EQ(text(call(Value("\xC3\x84rger Stra\xC3\x9F" "e"), "toUpperCase")), "\xC3\x84RGER STRA\xC3\x9F" "E");
    EXPECT_EQ(text(call(Value("\xC3\x84RGER \xD0\x9C\xD0\x98\xD0\xA0"), "toLowerCase")), "\xC3\xA4rger \xD0\xBC\xD0\xB8\xD1\x80");
    EXPECT_EQ(text(call(Value("\xC5\x81\xC3\xB3" "d\xC5\xBA"), "toUpperCase")), "\xC5\x81\xC3\x93" "D\xC5\xB9");
    EXPECT_EQ(text(call(Value("Mixed 123"), "toLowerCase")), "mixed 123");
}

} // namespace
} // namespace flash::script
