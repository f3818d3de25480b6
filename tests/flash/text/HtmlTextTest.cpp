// The HTML subset: what htmlText reads back after a rich string, style sheets,
// and strings made to exhaust the parser.
#include "flash/text/HtmlText.h"
#include "flash/text/Utf.h"

#include <chrono>
#include <gtest/gtest.h>

namespace flash::text {
namespace {

constexpr const char* kPlainFont = R"(<FONT FACE="Times New Roman" SIZE="12" COLOR="#000000" LETTERSPACING="0" KERNING="0">)";

std::string roundTrip(std::string_view html, const HtmlOptions& options = {})
{
    return writeHtml(parseHtml(html, TextFormat::defaults(), options), TextFormat::defaults());
}

TEST(HtmlText, EveryTagReadsBackAsTheRuntimeWritesIt)
{
    const StyledText text = parseHtml(
        R"(<p align="center"><font face="Arial" size="20" color="#ff0000">ab<b>c</b></font></p>)"
        R"(<textformat leading="2" indent="5"><p>x<br>y</p></textformat><li>item</li>)"
        R"(<a href="http://e.org/?a=1&amp;b=2" target="_blank"><i><u>link</u></i></a> &lt;&#65;&#x42;&gt;)",
        TextFormat::defaults());
    EXPECT_EQ(toUtf8(text.text()), "abc\rx\ry\ritem\rlink <AB>");
    EXPECT_EQ(writeHtml(text, TextFormat::defaults()),
              std::string(R"(<P ALIGN="CENTER"><FONT FACE="Arial" SIZE="20" COLOR="#FF0000" LETTERSPACING="0" KERNING="0">)")
                  + R"(ab<B>c</B></FONT></P>)"
                  + R"(<TEXTFORMAT INDENT="5" LEADING="2"><P ALIGN="LEFT">)" + kPlainFont + "x</FONT></P></TEXTFORMAT>"
                  + R"(<TEXTFORMAT INDENT="5" LEADING="2"><P ALIGN="LEFT">)" + kPlainFont + "y</FONT></P></TEXTFORMAT>"
                  + "<LI>" + kPlainFont + "item</FONT></LI>"
                  + R"(<P ALIGN="LEFT">)" + kPlainFont
                  + R"(<A HREF="http://e.org/?a=1&amp;b=2" TARGET="_blank"><I><U>link</U></I></A> &lt;AB&gt;</FONT></P>)");
}

TEST(HtmlText, ParagraphsLineEndsAndWhiteSpace)
{
    EXPECT_EQ(toUtf8(parseHtml("<p>a</p><p>b</p>", TextFormat::defaults()).text()), "a\rb");
    EXPECT_EQ(toUtf8(parseHtml("a\r\nb\nc", TextFormat::defaults()).text()), "a\rb\rc");
    HtmlOptions condensed;
    condensed.condenseWhite = true;
    EXPECT_EQ(toUtf8(parseHtml("  a \n\n  b<br>c  ", TextFormat::defaults(), condensed).text()), "a b\rc");
    // An empty field still says how its paragraph is formatted.
    EXPECT_EQ(roundTrip(""), std::string(R"(<P ALIGN="LEFT">)") + kPlainFont + "</FONT></P>");
    // A trailing paragraph mark is a paragraph of its own; tags nobody knows keep their text.
    EXPECT_EQ(roundTrip("a<br><blink>b</blink>"),
              std::string(R"(<P ALIGN="LEFT">)") + kPlainFont + "a</FONT></P><P ALIGN=\"LEFT\">" + kPlainFont + "b</FONT></P>");
}

TEST(HtmlText, StyleSheetsFormatTagsAndClasses)
{
    const auto rules = StyleSheet::parseCss(".note { color: #00FF00; font-weight: bold }\n p, h1 { font-size: 18px; text-align: right }");
    ASSERT_TRUE(rules);
    ASSERT_EQ(rules->size(), 3u);
    EXPECT_EQ(rules->at(0).second.at(1).first, "fontWeight");
    StyleSheet sheet;
    for (const auto& [selector, properties] : *rules)
        sheet.setStyle(selector, properties);
    HtmlOptions options;
    options.styles = &sheet;
    const StyledText text = parseHtml(R"(<p>big <span class="note">green</span></p>)", TextFormat::defaults(), options);
    const TextFormat& plain = *text.formatAt(0);
    EXPECT_EQ(plain.size, 18);
    EXPECT_EQ(plain.align, TextAlign::Right);
    const TextFormat& note = *text.formatAt(5);
    EXPECT_EQ(note.color, 0x00FF00u);
    EXPECT_EQ(note.bold, true);
    EXPECT_EQ(note.size, 18);
    EXPECT_FALSE(StyleSheet::parseCss("p { color: red"));
}

TEST(HtmlText, HostileStringsStayBoundedAndKeepTheirText)
{
    std::string deep;
    for (int i = 0; i < 200'000; ++i)
        deep += "<font size=\"+1\"><b>";
    deep += "x";
    for (int i = 0; i < 200'000; ++i)
        deep += "</b></font>";
    deep += "after<a href=\"" + std::string(1 << 20, '"') + "\">y</a><p <b <!-- never closed";
    const auto start = std::chrono::steady_clock::now();
    const StyledText text = parseHtml(deep, TextFormat::defaults());
    const std::string html = writeHtml(text, TextFormat::defaults());
    // A guard against quadratic work, not a speed figure: generous for sanitizer builds on a busy machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(toUtf8(text.text()).substr(0, 6), "xafter");
    EXPECT_LE(*text.formatAt(0)->size, 12 + 128); // nesting past the bound adds nothing
    EXPECT_EQ(text.formatAt(1)->size, 12);        // and every tag closed again
    EXPECT_LT(html.size(), 4096u);
    // Broken entities and stray brackets are text.
    EXPECT_EQ(toUtf8(parseHtml("a < b &bogus; &#0; &#x110000; &", TextFormat::defaults()).text()),
              "a < b &bogus; &#0; &#x110000; &");
}

} // namespace
} // namespace flash::text
