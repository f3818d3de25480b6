// The about box: one box at a time, closed by its OK button and built anew
// with the same content the next time; the product name fits the box.

#include "tests/app/panel_fixture.h"

#include "about/form1.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace vf::test {
namespace {

using AboutBox = PanelFixture;

QStringList labelTexts(const Form1& box)
{
    QStringList texts;
    for (int i = 1; i <= 6; ++i)
        texts << box.designControl<QLabel>(QStringLiteral("Label%1").arg(i)).text();
    return texts;
}

int visibleAboutBoxes()
{
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<Form1*>(window) && window->isVisible() ? 1 : 0;
    return count;
}

TEST_F(AboutBox, ShowsNameVersionAndFourLinesOfText)
{
    panel->ab_Click();
    const Form1& box = Windows::form1();
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Form1"));
    const QStringList texts = labelTexts(box);
    EXPECT_EQ(texts[0], QStringLiteral("VelquorFlash播放器"));
    EXPECT_EQ(texts[1], QStringLiteral("版本：1.2"));
    for (int i = 2; i < 6; ++i)
        EXPECT_FALSE(texts[i].isEmpty()) << i;
    EXPECT_EQ(box.Command1().text(), QStringLiteral("确定"));
}

TEST_F(AboutBox, ASecondClickOpensNoSecondBox)
{
    panel->ab_Click();
    Form1* first = &Windows::form1();
    panel->ab_Click();
    EXPECT_EQ(&Windows::form1(), first);
    EXPECT_EQ(visibleAboutBoxes(), 1);
}

TEST_F(AboutBox, OkClosesTheBoxAndTheNextClickBuildsItAnewWithTheSameContent)
{
    panel->ab_Click();
    QPointer<Form1> first = &Windows::form1();
    const QStringList texts = labelTexts(*first);
    first->Command1().click();
    EXPECT_FALSE(Windows::isLoaded(WindowName::Form1));
    flushDeletions();
    EXPECT_TRUE(first.isNull());

    panel->ab_Click();
    ASSERT_TRUE(Windows::isLoaded(WindowName::Form1));
    EXPECT_TRUE(Windows::form1().isVisible());
    EXPECT_EQ(labelTexts(Windows::form1()), texts);
    EXPECT_EQ(visibleAboutBoxes(), 1);
}

TEST_F(AboutBox, EveryLineFitsInsideTheBox)
{
    panel->ab_Click();
    const Form1& box = Windows::form1();
    for (int i = 1; i <= 6; ++i) {
        const auto& label = box.designControl<QLabel>(QStringLiteral("Label%1").arg(i));
        const int textWidth = QFontMetrics(label.font()).horizontalAdvance(label.text());
        EXPECT_LE(label.x() + textWidth, box.width()) << i;
    }
}

TEST_F(AboutBox, TheProductNameKeepsItsFaceAndSizeAndIsNarrowedOnlyToItsDesignedWidth)
{
    const Form1& box = Windows::form1();
    const QLabel& name = box.Label1();
    EXPECT_EQ(name.font().pixelSize(), 29);
    EXPECT_EQ(name.font().family(), box.designControl<QLabel>(QStringLiteral("Label2")).font().family());
    EXPECT_LE(QFontMetrics(name.font()).horizontalAdvance(name.text()), 220);
    EXPECT_GE(QFontMetrics(name.font()).horizontalAdvance(name.text()), 200);
}

} // namespace
} // namespace vf::test
