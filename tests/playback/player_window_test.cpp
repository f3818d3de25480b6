// The player window: the component it hosts, fitting it to the inner area,
// refused moves and the closing sequence.

#include "playback_fixture.h"

#include "flash/widget/FlashWidget.h"
#include "ui/image_control.h"

#include <QPointer>
#include <QTimer>

namespace vf::test {
namespace {

using PlayerWindow = PlaybackFixture;

TEST_F(PlayerWindow, HostsTheEngineAsFlashWithItsDesignSettingsAndNoMovie)
{
    auto* widget = qobject_cast<flash::FlashWidget*>(player().component());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->objectName(), QStringLiteral("Flash"));
    EXPECT_EQ(widget->parentWidget(), &player());
    EXPECT_EQ(&flash().widget(), widget);
    // The designed box (1800, 240, 1455 x 1575 twips) until the first resize.
    EXPECT_EQ(widget->geometry(), QRect(120, 16, 97, 105));

    const flash::FlashSettings& settings = widget->settings();
    EXPECT_TRUE(settings.startPlayingOnLoad);
    EXPECT_TRUE(settings.loop);
    EXPECT_FALSE(settings.contextMenu);
    EXPECT_EQ(settings.windowMode, QStringLiteral("Window"));
    EXPECT_EQ(settings.scaleMode, QStringLiteral("ShowAll"));
    EXPECT_EQ(settings.quality, QStringLiteral("High"));

    EXPECT_EQ(flash().Movie(), QString());
    EXPECT_FALSE(flash().Playing());
}

TEST_F(PlayerWindow, ComponentCoversTheInnerAreaAtEverySizeAndState)
{
    player().show();
    EXPECT_EQ(player().component()->geometry(), player().rect());

    for (const QSize size : {QSize(200, 100), QSize(640, 480), QSize(1, 1), QSize(333, 17)}) {
        player().resize(size);
        EXPECT_EQ(player().component()->geometry(), QRect(QPoint(0, 0), size)) << size.width() << "x" << size.height();
    }

    player().resize(300, 200);
    player().setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    ASSERT_NE(player().size(), QSize(300, 200));
    EXPECT_EQ(player().component()->geometry(), player().rect());

    player().setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();
    EXPECT_EQ(player().size(), QSize(300, 200));
    EXPECT_EQ(player().component()->geometry(), QRect(0, 0, 300, 200));
}

TEST_F(PlayerWindow, MinimisedOrMaximisedWindowRefusesToMoveAndKeepsItsPlace)
{
    FlashFrom& window = player();
    window.show();
    EXPECT_TRUE(window.Move(3000, 1500));
    EXPECT_EQ(window.pos(), QPoint(200, 100));

    window.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(window.Move(FlashFrom::kPlayingLeft, FlashFrom::kPlayingTop));
    window.setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.pos(), QPoint(200, 100));

    window.setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.Move(FlashFrom::kPlayingLeft, FlashFrom::kPlayingTop));
    window.setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.pos(), QPoint(200, 100));
}

TEST_F(PlayerWindow, ClosingWhilePlayingStopsUnloadsAndResetsThePanelLines)
{
    const QString path = movies.write(QStringLiteral("playing"), 100);
    open(path);
    showFrame(40);
    panel->Time_Timer();
    const QPoint marker = image("jin2").pos();
    panel->Label4().setText(QStringLiteral("后退"));
    ASSERT_TRUE(flash().Playing());
    ASSERT_TRUE(panel->Time().isActive());

    QPointer<flash::FlashWidget> widget = &flash().widget();
    EXPECT_TRUE(player().close());
    flushDeletions();

    EXPECT_EQ(label(2), QStringLiteral("已停止播放"));
    EXPECT_FALSE(panel->Time().isActive());
    EXPECT_EQ(label(1), QString());
    EXPECT_EQ(label(3), QString());
    // The hint line and the marker are left as they were.
    EXPECT_EQ(label(4), QStringLiteral("后退"));
    EXPECT_EQ(image("jin2").pos(), marker);
    EXPECT_TRUE(widget.isNull());
    EXPECT_FALSE(Windows::isLoaded(WindowName::Flashfrom));
}

TEST_F(PlayerWindow, ComponentIsStoppedAndEmptiedBeforeTheWindowGoes)
{
    open(movies.write(QStringLiteral("watched"), 100));
    flash::FlashWidget& widget = flash().widget();
    QString movieAtEnd = QStringLiteral("not seen");
    bool playingAtEnd = true;
    // The window is still there when it reports its unload.
    QObject::connect(&player(), &ui::DesignWindow::unloaded, [&] {
        movieAtEnd = widget.movie();
        playingAtEnd = widget.playing();
    });
    player().close();
    flushDeletions();
    EXPECT_EQ(movieAtEnd, QString());
    EXPECT_FALSE(playingAtEnd);
}

TEST_F(PlayerWindow, ComesBackAfterClosingInItsDesignStateWithNoMovie)
{
    open(movies.write(QStringLiteral("first"), 10));
    player().resize(640, 480);
    player().close();
    flushDeletions();

    FlashFrom& again = player();
    EXPECT_TRUE(again.isHidden());
    EXPECT_EQ(again.size(), QSize(468, 336));
    EXPECT_EQ(flash().Movie(), QString());
    EXPECT_EQ(again.component()->geometry(), QRect(120, 16, 97, 105));
}

TEST_F(PlayerWindow, ClosingWithNoMovieRunsTheSameSequence)
{
    player().show();
    panel->Label1().setText(QStringLiteral("x"));
    panel->Label3().setText(QStringLiteral("y"));
    EXPECT_TRUE(player().close());
    flushDeletions();
    EXPECT_EQ(label(2), QStringLiteral("已停止播放"));
    EXPECT_EQ(label(1), QString());
    EXPECT_EQ(label(3), QString());
    EXPECT_FALSE(panel->Time().isActive());
}

TEST_F(PlayerWindow, AfterClosingNoTickCreatesThePlayerAgain)
{
    open(movies.write(QStringLiteral("closing"), 10));
    player().close();
    flushDeletions();
    ASSERT_FALSE(panel->Time().isActive());
    panel->Timer1_Timer();
    EXPECT_FALSE(Windows::isLoaded(WindowName::Flashfrom));
}

} // namespace
} // namespace vf::test
