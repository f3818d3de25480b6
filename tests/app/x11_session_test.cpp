// The player on a real X server with no window manager: the panel is mapped
// at its place without a taskbar entry, a right-button drag leaves it where it
// is, a left-button drag moves it, and the exit button ends the process with
// status 0. Skipped where Xvfb, xdotool or xprop are missing.

#include "x11_session.h"

namespace vf::test {
namespace {

class BareX11Session : public X11Session {
protected:
    void SetUp() override { start(); }
};

TEST_F(BareX11Session, PanelIsMappedAtItsPlaceWithoutATaskbarEntry)
{
    EXPECT_EQ(position(panelWindow_), kPanel);
    const QString state = x(QStringLiteral("xprop"), {QStringLiteral("-id"), panelWindow_,
                                                      QStringLiteral("_NET_WM_STATE")});
    EXPECT_TRUE(state.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR"))) << state.toStdString();
}

TEST_F(BareX11Session, OnlyALeftDragOnTheBackgroundMovesThePanel)
{
    const QPoint background = kPanel + QPoint(100, 100);
    QStringList rightDrag = moveTo(background);
    rightDrag << QStringLiteral("mousedown") << QStringLiteral("3");
    rightDrag << moveTo(background + QPoint(40, 30)) << QStringLiteral("mouseup") << QStringLiteral("3");
    xdotool(rightDrag);

    QStringList leftDrag = moveTo(background);
    leftDrag << QStringLiteral("mousedown") << QStringLiteral("1");
    leftDrag << moveTo(background + QPoint(20, 10)) << moveTo(background + QPoint(60, -50));
    leftDrag << QStringLiteral("mouseup") << QStringLiteral("1");
    xdotool(leftDrag);

    // Had the right button moved the panel, it would not end exactly here.
    EXPECT_TRUE(eventually([&] { return position(panelWindow_) == kPanel + QPoint(60, -50); }))
        << "panel at " << position(panelWindow_).value_or(QPoint()).x() << ","
        << position(panelWindow_).value_or(QPoint()).y();
}

TEST_F(BareX11Session, ExitButtonEndsTheProcessWithStatusZero)
{
    clickPanel(QPoint(385, 9));
    ASSERT_TRUE(player_.waitForFinished());
    EXPECT_EQ(player_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player_.exitCode(), 0);
}

} // namespace
} // namespace vf::test
