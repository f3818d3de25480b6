// Reading window designs: the five compiled-in designs load with what the
// windows need, and broken documents are refused with a reason.

#include "ui/twips.h"
#include "ui/window_design.h"

#include <QRect>

#include <gtest/gtest.h>

namespace vf::test {
namespace {

TEST(Twips, FifteenMakeAPixelAndFractionsRound)
{
    EXPECT_EQ(ui::twipsToPixels(5955), 397);
    EXPECT_EQ(ui::twipsToPixels(2500), 167);
    EXPECT_EQ(ui::twipsToPixels(8460), 564);
    EXPECT_EQ(ui::pointsToPixels(9), 12);
    EXPECT_EQ(ui::pointsToPixels(21.75), 29);
}

TEST(WindowDesign, PanelDesignHoldsEveryControlInStackingOrder)
{
    const auto design = ui::loadWindowDesign(QStringLiteral("main"));
    ASSERT_TRUE(design.has_value()) << design.error().toStdString();
    EXPECT_EQ(design->frame, ui::FrameStyle::None);
    EXPECT_FALSE(design->taskbarButton);
    EXPECT_EQ(design->innerWidth, 5955);
    EXPECT_EQ(design->innerHeight, 1800);
    // 14 buttons, 28 holders, 2 progress images, 4 labels, 2 timers, 1 dialog.
    EXPECT_EQ(design->controls.size(), 51u);
    EXPECT_EQ(design->controls.front().name, QStringLiteral("ab"));
    const auto position = [&](const char* name) {
        return std::ranges::find(design->controls, QString::fromLatin1(name), &ui::ControlDesign::name)
            - design->controls.begin();
    };
    EXPECT_LT(position("openfile"), position("jin2"));
    EXPECT_LT(position("jin2"), position("jin1"));
    EXPECT_LT(position("jin1"), position("Label4"));
    EXPECT_LT(position("Label4"), position("Label1"));
    const ui::ControlDesign* hider = design->control(u"ab2");
    ASSERT_NE(hider, nullptr);
    EXPECT_FALSE(hider->visible);
    EXPECT_EQ(hider->picture, QStringLiteral("ab2"));
}

TEST(WindowDesign, EveryWindowHasADesign)
{
    for (const char* window : {"main", "flashfrom", "Form2", "Form3", "Form1"}) {
        const auto design = ui::loadWindowDesign(QString::fromLatin1(window));
        ASSERT_TRUE(design.has_value()) << window << ": " << design.error().toStdString();
        EXPECT_EQ(design->name, QString::fromLatin1(window));
    }
    EXPECT_FALSE(ui::loadWindowDesign(QStringLiteral("Form9")).has_value());
}

TEST(WindowDesign, BrokenDocumentsAreRefused)
{
    const char* broken[] = {
        "",
        "[1, 2]",
        R"({"caption": "x", "frame": "none", "innerWidth": 15, "innerHeight": 15})",
        R"({"window": "w", "frame": "round", "innerWidth": 15, "innerHeight": 15})",
        R"({"window": "w", "frame": "none", "innerWidth": 0, "innerHeight": 15})",
        R"({"window": "w", "frame": "none", "innerWidth": 15, "innerHeight": 15,
            "controls": [{"name": "a", "kind": "wheel"}]})",
        R"({"window": "w", "frame": "none", "innerWidth": 15, "innerHeight": 15,
            "controls": [{"name": "a", "kind": "image"}, {"name": "a", "kind": "label"}]})",
        R"({"window": "w", "frame": "none", "innerWidth": 15, "innerHeight": 15,
            "controls": [{"name": "a", "kind": "label", "foreColor": "#GG0000"}]})",
        R"({"window": "w", "frame": "none", "innerWidth": 15, "innerHeight": 15,
            "controls": [{"name": "a", "kind": "image", "left": -15}]})",
        R"({"window": "w", "frame": "none", "innerWidth": 15, "innerHeight": 15,
            "controls": [{"name": "t", "kind": "timer"}]})",
        R"({"window": "w", "frame": "none", "innerWidth": 15, "innerHeight": 15,
            "controls": [{"kind": "image"}]})",
    };
    for (const char* document : broken) {
        SCOPED_TRACE(document);
        EXPECT_FALSE(ui::parseWindowDesign(QByteArray(document)).has_value());
    }
}

TEST(WindowDesign, ControlSettingsAreRead)
{
    const auto design = ui::parseWindowDesign(QByteArray(R"({"window": "w", "caption": "c", "frame": "fixedDialog",
        "taskbarButton": false, "innerWidth": 300, "innerHeight": 150, "controls": [
        {"name": "L", "kind": "label", "left": 15, "top": 30, "width": 45, "height": 60, "text": "字",
         "font": 12, "foreColor": "#FF0000", "backColor": "#000000", "opaque": true, "tabIndex": 3},
        {"name": "T", "kind": "timer", "interval": 100, "enabled": false}]})"));
    ASSERT_TRUE(design.has_value()) << design.error().toStdString();
    EXPECT_EQ(design->frame, ui::FrameStyle::FixedDialog);
    const ui::ControlDesign& label = design->controls.at(0);
    EXPECT_EQ(label.kind, ui::ControlKind::Label);
    EXPECT_EQ(QRect(label.left, label.top, label.width, label.height), QRect(15, 30, 45, 60));
    EXPECT_EQ(label.text, QStringLiteral("字"));
    EXPECT_EQ(label.fontPoints, 12.0);
    EXPECT_EQ(label.foreColor, QColor(Qt::red));
    EXPECT_TRUE(label.opaque);
    EXPECT_EQ(label.tabIndex, 3);
    const ui::ControlDesign& timer = design->controls.at(1);
    EXPECT_EQ(timer.interval, 100);
    EXPECT_FALSE(timer.enabled);
}

} // namespace
} // namespace vf::test
