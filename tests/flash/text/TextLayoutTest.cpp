// Layout against fixed expectations: line breaks, alignment, margins, scroll
// numbers and auto-size, with the block font; system faces and fallbacks.
#include "TextFieldFixture.h"

#include "flash/text/Utf.h"

#include <gtest/gtest.h>

namespace flash::text::test {
namespace {

std::vector<std::string> lineTexts(const TextField& field)
{
    std::vector<std::string> lines;
    for (const LayoutLine& line : field.layout().lines)
        lines.push_back(toUtf8(std::u32string_view(field.content().text()).substr(line.begin, line.end - line.begin)));
    return lines;
}

TEST(TextLayout, WrapsAtSpacesAndAlignsWithinTheMargins)
{
    auto field = blockField(104, 100, kWordWrap | kMultiline); // 100 px inside the gutter: ten characters
    field->setText("aaaa bbbb cccc\rdddddddddddddd");
    EXPECT_EQ(lineTexts(*field), (std::vector<std::string>{"aaaa bbbb ", "cccc", "dddddddddd", "dddd"}));
    const auto& lines = field->layout().lines;
    EXPECT_DOUBLE_EQ(lines[0].width, 90); // the trailing space does not count
    EXPECT_DOUBLE_EQ(lines[1].top, 22);
    EXPECT_DOUBLE_EQ(lines[1].baseline(), 37.625);
    EXPECT_DOUBLE_EQ(field->textWidth(), 100);
    EXPECT_DOUBLE_EQ(field->textHeight(), 80);

    TextFormat centred;
    centred.align = TextAlign::Center;
    centred.leftMargin = 10;
    field->setTextFormat(0, 1, centred); // paragraph settings reach the whole first paragraph
    ASSERT_EQ(field->layout().lines.size(), 4u);
    EXPECT_DOUBLE_EQ(field->layout().lines[0].runs[0].xs[0], 2 + 10); // 90 px fill the 90 px left
    EXPECT_DOUBLE_EQ(field->layout().lines[1].runs[0].xs[0], 2 + 10 + (90 - 40) / 2.0);
    TextFormat right;
    right.align = TextAlign::Right;
    field->setTextFormat(20, 21, right);
    EXPECT_DOUBLE_EQ(field->layout().lines[3].runs[0].xs[0], 2 + 100 - 40);
    EXPECT_DOUBLE_EQ(field->layout().lines[1].runs[0].xs[0], 2 + 10 + (90 - 40) / 2.0) << "the first paragraph keeps its own";
}

TEST(TextLayout, ScrollNumbersFollowTheLinesThatFit)
{
    auto field = blockField(104, 44, kMultiline); // room for two lines of 20 px
    field->setText("1\r2\r3\r4\r5");
    EXPECT_EQ(field->scroll(), 1);
    EXPECT_EQ(field->maxScroll(), 4);
    EXPECT_EQ(field->bottomScroll(), 2);
    field->setScroll(3);
    EXPECT_EQ(field->bottomScroll(), 4);
    field->setScroll(99);
    EXPECT_EQ(field->scroll(), 4);
    field->setText("short"); // the text shrinks under the scroll position
    EXPECT_EQ(field->scroll(), 1);
    EXPECT_EQ(field->maxScroll(), 1);

    field->setText("a line much wider than the field");
    EXPECT_EQ(field->maxHScroll(), 32 * 10 - 100);
    field->setHScroll(1e9);
    EXPECT_EQ(field->hscroll(), 220);
}

TEST(TextLayout, AutoSizeGrowsFromTheSideItKeeps)
{
    auto field = blockField(100, 10, kAutoSize);
    field->setText("abc");
    EXPECT_EQ(field->bounds(), (Rect{0, 34 * 20, 0, 24 * 20}));
    FieldSettings settings = field->settings();
    settings.autoSize = AutoSize::Right;
    field->setSettings(settings);
    field->setText("abcdef");
    EXPECT_EQ(field->bounds(), (Rect{(34 - 64) * 20, 34 * 20, 0, 24 * 20}));
    settings.autoSize = AutoSize::None;
    field->setSettings(settings);
    field->setText("x");
    EXPECT_EQ(field->bounds(), (Rect{(34 - 64) * 20, 34 * 20, 0, 24 * 20})) << "keeps the last size";
    // Wrapping fields only grow downwards.
    auto wrapping = blockField(54, 10, kAutoSize | kWordWrap | kMultiline);
    wrapping->setText("aaaa bbbb cccc");
    EXPECT_EQ(wrapping->bounds(), (Rect{0, 54 * 20, 0, (3 * 20 + 4) * 20}));
}

TEST(TextLayout, PasswordsShowAsterisksAndMissingGlyphsTakeNoRoom)
{
    auto field = blockField(200, 30, kPassword);
    field->setText("ab\xE4\xB8\xAD"); // the block font has no Chinese glyph
    const LayoutLine& line = field->layout().lines.at(0);
    ASSERT_EQ(line.runs.size(), 1u);
    EXPECT_EQ(line.runs[0].glyphs.size(), 3u) << "every character shows as an asterisk";
    field->setSettings([&] { FieldSettings s = field->settings(); s.password = false; return s; }());
    EXPECT_DOUBLE_EQ(field->textWidth(), 20);
    EXPECT_EQ(field->text(), "ab\xE4\xB8\xAD");
}

TEST(TextLayout, SystemFacesMeasureTextAndChineseFallsBackToUming)
{
    FontLibrary fonts(std::make_shared<Movie>());
    const FontFace* sans = fonts.deviceFace("_sans", false, false);
    ASSERT_TRUE(sans->device().isValid());
    StyledText text;
    TextFormat format = TextFormat::defaults();
    format.font = "_sans";
    text.append(fromUtf8("Hi \xE4\xB8\xAD\xE6\x96\x87"), format);
    const TextLayout layout = layOutText(text, format, LayoutOptions{}, fonts);
    ASSERT_EQ(layout.lines.size(), 1u);
    ASSERT_EQ(layout.lines[0].runs.size(), 2u);
    EXPECT_EQ(layout.lines[0].runs[1].face->device().familyName(), "AR PL UMing CN");
    EXPECT_NEAR(layout.lines[0].runs[1].xs[1] - layout.lines[0].runs[1].xs[0], 12, 0.5) << "a full-width character";
    EXPECT_GT(layout.textWidth, 30);
    EXPECT_LT(layout.textWidth, 50);
}

} // namespace
} // namespace flash::text::test
