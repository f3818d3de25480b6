// Editing operations input fields are typed into, and formats over ranges.
#include "TextFieldFixture.h"

#include "flash/text/RestrictFilter.h"
#include "flash/text/Utf.h"

#include <gtest/gtest.h>

namespace flash::text::test {
namespace {

TEST(TextEditing, TypingHonoursRestrictMaxCharsAndMultiline)
{
    auto field = blockField(200, 30);
    FieldSettings settings = field->settings();
    settings.type = FieldType::Input;
    settings.restrict = "a-z^q";
    settings.maxChars = 6;
    field->setSettings(settings);
    field->setText("ab");
    field->setSelection(1, 1);
    EXPECT_TRUE(field->type(U"xqY\rz"));
    EXPECT_EQ(field->text(), "axzb") << "q is refused, Y is no lower-case letter, a single line takes no break";
    EXPECT_EQ(field->selection().end, 3u);
    EXPECT_TRUE(field->type(U"mnopr"));
    EXPECT_EQ(field->text(), "axzmnb") << "only as many as maxChars leaves room for";
    EXPECT_FALSE(field->type(U"k"));
    field->setSelection(0, 6);
    EXPECT_EQ(toUtf8(field->selectedText()), "axzmnb");
    EXPECT_TRUE(field->type(U"k"));
    EXPECT_EQ(field->text(), "k");
    EXPECT_TRUE(field->deleteBackward());
    EXPECT_FALSE(field->deleteBackward());
    EXPECT_FALSE(field->deleteForward());

    settings.multiline = true;
    settings.restrict.reset();
    field->setSettings(settings);
    EXPECT_TRUE(field->type(U"1\n2"));
    EXPECT_EQ(field->text(), "1\r2");
    field->setSelection(1, 1);
    EXPECT_TRUE(field->deleteForward());
    EXPECT_EQ(field->text(), "12");
}

TEST(TextEditing, RestrictPatterns)
{
    const RestrictFilter digitsAndDash(U"0-9\\-");
    EXPECT_TRUE(digitsAndDash.accepts(U'5'));
    EXPECT_TRUE(digitsAndDash.accepts(U'-'));
    EXPECT_FALSE(digitsAndDash.accepts(U'a'));
    const RestrictFilter allButVowels(U"^aeiou");
    EXPECT_TRUE(allButVowels.accepts(U'b'));
    EXPECT_FALSE(allButVowels.accepts(U'e'));
    EXPECT_FALSE(RestrictFilter(U"").accepts(U'a')) << "an empty pattern allows nothing";
    EXPECT_TRUE(RestrictFilter().accepts(U'a')) << "no pattern allows everything";
}

TEST(TextEditing, FormatsOverRangesAndReplacedText)
{
    auto field = blockField(200, 30);
    field->setText("abcdef");
    TextFormat bold;
    bold.bold = true;
    field->setTextFormat(1, 3, bold);
    EXPECT_EQ(field->textFormat(1, 3).bold, true);
    EXPECT_FALSE(field->textFormat(0, 3).bold.has_value()) << "mixed values read back unset";
    EXPECT_EQ(field->textFormat(0, 3).font, "Blocks");
    field->setSelection(2, 4);
    field->replaceSelection("XY\nZ");
    EXPECT_EQ(field->text(), "abXY\rZef");
    EXPECT_EQ(field->selection().begin, 6u);
    EXPECT_EQ(field->textFormat(2, 3).bold, false) << "inserted text takes the new text format";
    field->replaceText(0, 99, "whole");
    EXPECT_EQ(field->text(), "whole");
    field->replaceText(9, 3, "ignored");
    EXPECT_EQ(field->text(), "whole");
}

} // namespace
} // namespace flash::text::test
