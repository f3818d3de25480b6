// The player under a real window manager (openbox), with the real pointer and
// keyboard: dialogs cannot be left minimised, a tap on the panel does not
// leave it stuck to the pointer, the open-file dialog blocks only the panel,
// Enter and a second about click reach the about box, and the playlist
// cannot be closed. Skipped where openbox or the X tools are missing.

#include "x11_session.h"

#include <QFile>
#include <QThread>

namespace vf::test {
namespace {

// Spots on the panel, pixels from its corner.
constexpr QPoint kBackground{100, 100};
constexpr QPoint kAbout{337, 9};
constexpr QPoint kPlay{25, 90};
constexpr QPoint kOpenFile{23, 33};
constexpr QPoint kOpenFolder{23, 57};
constexpr QPoint kList{390, 63};
// The playlist stands at the panel's right edge.
constexpr QPoint kPlaylist = X11Session::kPanel + QPoint(397, 0);

// The smallest movie: an SWF header and the end tag.
constexpr char kEmptyMovie[] = "FWS\x06\x0f\x00\x00\x00\x00\x00\x0c\x01\x00\x00\x00";

class WindowManagerSession : public X11Session {
protected:
    void SetUp() override
    {
        QFile movie(folder_.filePath(QStringLiteral("a.swf")));
        ASSERT_TRUE(movie.open(QIODevice::WriteOnly));
        movie.write(kEmptyMovie, sizeof kEmptyMovie - 1);
        movie.close();
        start(QStringLiteral("openbox"));
    }

    // Gives the window manager time to carry out what must not last.
    static void settle() { QThread::msleep(500); }

    QString openWindow(QPoint button, const QString& title) const
    {
        clickPanel(button);
        return waitForWindow(title);
    }
};

TEST_F(WindowManagerSession, MinimisedDialogsComeBackAtOnceAndThePanelStaysShown)
{
    const auto minimise = [this](const QString& window) {
        ASSERT_FALSE(window.isEmpty());
        xdotool({QStringLiteral("windowminimize"), window});
        settle();
        EXPECT_TRUE(eventually([&] { return wmState(window) == QStringLiteral("Normal"); }));
        EXPECT_EQ(wmState(panelWindow_), QStringLiteral("Normal"));
    };
    minimise(openWindow(kAbout, QStringLiteral("^Form1$")));
    minimise(openWindow(kOpenFolder, QStringLiteral("^打开目录$")));
    // Play with no movie loaded asks for one in a modal message box.
    minimise(openWindow(kPlay, QStringLiteral("^播放Flash文件$")));
}

TEST_F(WindowManagerSession, ATapOnThePanelBackgroundLeavesItInPlace)
{
    xdotool(moveTo(kPanel + kBackground) << QStringLiteral("mousedown") << QStringLiteral("1")
                                         << QStringLiteral("mouseup") << QStringLiteral("1"));
    settle();
    xdotool(moveTo(QPoint(600, 200)));
    settle();
    EXPECT_EQ(position(panelWindow_), kPanel);

    // A drag still moves it, by the window manager.
    xdotool(moveTo(kPanel + kBackground) << QStringLiteral("mousedown") << QStringLiteral("1")
                                         << moveTo(kPanel + kBackground + QPoint(1, 1)) << QStringLiteral("sleep")
                                         << QStringLiteral("0.3") << moveTo(kPanel + kBackground + QPoint(60, -50))
                                         << QStringLiteral("sleep") << QStringLiteral("0.3")
                                         << QStringLiteral("mouseup") << QStringLiteral("1"));
    EXPECT_TRUE(eventually([&] {
        return (position(panelWindow_).value_or(QPoint()) - (kPanel + QPoint(60, -50))).manhattanLength() <= 2;
    }));
}

TEST_F(WindowManagerSession, ThePlaylistPlaysWhileTheOpenFileDialogIsOpen)
{
    ASSERT_FALSE(openWindow(kList, QStringLiteral("^Form2$")).isEmpty());
    clickPanel(kOpenFile);
    QString dialog;
    ASSERT_TRUE(eventually([&] {
        dialog = activeWindow();
        return !dialog.isEmpty() && dialog != panelWindow_ && dialog != visibleWindow(QStringLiteral("^Form2$"));
    }));
    xdotool({QStringLiteral("windowmove"), dialog, QStringLiteral("0"), QStringLiteral("0")});
    settle();

    xdotool(moveTo(kPlaylist + QPoint(40, 8)) << QStringLiteral("click") << QStringLiteral("--repeat")
                                               << QStringLiteral("2") << QStringLiteral("1"));
    EXPECT_FALSE(waitForWindow(QStringLiteral("^VelquorFlash播放器 V1\\.1$")).isEmpty());
    EXPECT_EQ(wmState(dialog), QStringLiteral("Normal"));  // still open
}

TEST_F(WindowManagerSession, EnterPressesTheAboutBoxButton)
{
    const QString about = openWindow(kAbout, QStringLiteral("^Form1$"));
    ASSERT_TRUE(eventually([&] { return !about.isEmpty() && activeWindow() == about; }));
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    EXPECT_TRUE(eventually([&] { return visibleWindow(QStringLiteral("^Form1$")).isEmpty(); }));
}

TEST_F(WindowManagerSession, ASecondAboutClickBringsTheOpenBoxToTheFront)
{
    const QString about = openWindow(kAbout, QStringLiteral("^Form1$"));
    ASSERT_FALSE(about.isEmpty());
    // Clear of the panel, which a click then puts in front of the box.
    xdotool({QStringLiteral("windowmove"), about, QStringLiteral("500"), QStringLiteral("20")});
    clickPanel(kBackground, 3);
    ASSERT_TRUE(eventually([&] { return stackedAbove(panelWindow_, about); }));

    clickPanel(kAbout);
    EXPECT_TRUE(eventually([&] { return stackedAbove(about, panelWindow_); }));
    EXPECT_EQ(visibleWindow(QStringLiteral("^Form1$")), about);
}

TEST_F(WindowManagerSession, AltF4LeavesThePlaylistOpen)
{
    const QString playlist = openWindow(kList, QStringLiteral("^Form2$"));
    ASSERT_FALSE(playlist.isEmpty());
    xdotool(moveTo(kPlaylist + QPoint(80, 100)) << QStringLiteral("click") << QStringLiteral("1"));
    ASSERT_TRUE(eventually([&] { return activeWindow() == playlist; }));
    xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")});
    settle();
    EXPECT_EQ(visibleWindow(QStringLiteral("^Form2$")), playlist);
}

} // namespace
} // namespace vf::test
