// The panel's window commands: minimise, hide/show, playlist, maximised play
// and the about box.

#include "playback_fixture.h"

#include "about/form1.h"
#include "playlist/form2.h"

#include <QPointer>

namespace vf::test {
namespace {

using WindowCommands = PlaybackFixture;

TEST_F(WindowCommands, YingHidesOnItsFirstClickAndShowsOnItsSecond)
{
    ASSERT_TRUE(player().isHidden());
    EXPECT_EQ(panel->yingflag(), 0);
    panel->ying_Click();
    EXPECT_TRUE(player().isHidden());
    EXPECT_EQ(panel->yingflag(), 1);
    panel->ying_Click();
    EXPECT_TRUE(player().isVisible());
    EXPECT_EQ(panel->yingflag(), 0);
    panel->ying_Click();
    EXPECT_TRUE(player().isHidden());
    EXPECT_EQ(panel->yingflag(), 1);
}

TEST_F(WindowCommands, YingHidesAnOpenedMovieAtOnce)
{
    open(movies.write(QStringLiteral("shown"), 10));
    ASSERT_TRUE(player().isVisible());
    panel->ying_Click();
    EXPECT_TRUE(player().isHidden());
    EXPECT_EQ(panel->yingflag(), 1);
    // Hiding leaves the movie running.
    EXPECT_TRUE(flash().Playing());
}

TEST_F(WindowCommands, QianAfterYingShowsMaximisedAndLeavesTheFlag)
{
    open(movies.write(QStringLiteral("maximised"), 10));
    panel->ying_Click();
    ASSERT_TRUE(player().isHidden());

    panel->qian_Click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(player().isVisible());
    EXPECT_TRUE(player().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(panel->yingflag(), 1);
    EXPECT_EQ(player().component()->geometry(), player().rect());
    EXPECT_TRUE(flash().Playing());

    panel->ying_Click();
    EXPECT_TRUE(player().isVisible());
    EXPECT_EQ(panel->yingflag(), 0);
    panel->ying_Click();
    EXPECT_TRUE(player().isHidden());
    EXPECT_EQ(panel->yingflag(), 1);
}

TEST_F(WindowCommands, QianNeitherLoadsNorStartsAMovie)
{
    panel->qian_Click();
    EXPECT_EQ(flash().Movie(), QString());
    EXPECT_FALSE(flash().Playing());

    open(movies.write(QStringLiteral("standing"), 10));
    panel->stopa_Click();
    panel->qian_Click();
    EXPECT_FALSE(flash().Playing());
    EXPECT_EQ(label(2), QStringLiteral("已停止播放"));
}

TEST_F(WindowCommands, SmallMinimisesWithoutShowing)
{
    panel->small_Click();
    EXPECT_TRUE(player().isHidden());
    EXPECT_TRUE(player().windowState() & Qt::WindowMinimized);

    player().show();
    EXPECT_TRUE(player().windowState() & Qt::WindowMinimized);
}

TEST_F(WindowCommands, SmallAndQianReplaceEachOthersState)
{
    panel->qian_Click();
    EXPECT_TRUE(player().windowState() & Qt::WindowMaximized);
    panel->small_Click();
    EXPECT_EQ(player().windowState(), Qt::WindowMinimized);
    panel->qian_Click();
    EXPECT_EQ(player().windowState() & ~Qt::WindowActive, Qt::WindowMaximized);
}

TEST_F(WindowCommands, ListShowsOnItsFirstClickAndHidesOnItsSecond)
{
    const QPoint docked = Windows::form2().pos();
    ASSERT_TRUE(Windows::form2().isHidden());
    EXPECT_EQ(panel->listflag(), 0);
    panel->list_Click();
    EXPECT_TRUE(Windows::form2().isVisible());
    EXPECT_EQ(panel->listflag(), 1);
    EXPECT_EQ(Windows::form2().pos(), docked);
    panel->list_Click();
    EXPECT_TRUE(Windows::form2().isHidden());
    EXPECT_EQ(panel->listflag(), 0);
    EXPECT_EQ(Windows::form2().pos(), docked);
}

TEST_F(WindowCommands, TogglesRecordThePanelsOwnClicksNotTheWindows)
{
    open(movies.write(QStringLiteral("closing"), 10));
    panel->ying_Click();
    panel->list_Click();
    player().close();
    flushDeletions();
    Windows::form2().hide();
    EXPECT_EQ(panel->yingflag(), 1);
    EXPECT_EQ(panel->listflag(), 1);

    // The next clicks act on the recorded values.
    panel->ying_Click();
    EXPECT_TRUE(player().isVisible());
    panel->list_Click();
    EXPECT_TRUE(Windows::form2().isHidden());
}

TEST_F(WindowCommands, AboutOpensOneBoxHoweverOftenItIsClicked)
{
    panel->ab_Click();
    QPointer<Form1> about = &Windows::form1();
    EXPECT_TRUE(about->isVisible());
    panel->ab_Click();
    EXPECT_EQ(&Windows::form1(), about.data());
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_TRUE(about->close());
    flushDeletions();
    EXPECT_TRUE(about.isNull());
    EXPECT_TRUE(panel->isEnabled());
}

TEST_F(WindowCommands, ButtonsAreWiredToTheirCommands)
{
    panel->show();
    const auto click = [this](const char* name) {
        ui::ImageControl& button = image(name);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), button.mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), button.mapToGlobal(QPointF(2, 2)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &press);
        QCoreApplication::sendEvent(&button, &release);
    };
    click("list");
    EXPECT_EQ(panel->listflag(), 1);
    click("ying");
    EXPECT_EQ(panel->yingflag(), 1);
    click("small");
    EXPECT_TRUE(player().windowState() & Qt::WindowMinimized);
    click("qian");
    EXPECT_TRUE(player().windowState() & Qt::WindowMaximized);
    click("ab");
    EXPECT_TRUE(Windows::isLoaded(WindowName::Form1));

    const QString path = movies.write(QStringLiteral("wired"), 100);
    answerDialogWith(path);
    click("openfile");
    EXPECT_EQ(flash().Movie(), path);
    click("stopa");
    EXPECT_EQ(label(2), QStringLiteral("已停止播放"));
    click("playa");
    EXPECT_EQ(label(2), QStringLiteral("正常播放中"));
    showFrame(50);
    click("ht");
    EXPECT_EQ(flash().CurrentFrame(), 20);
    click("qj");
    EXPECT_EQ(flash().CurrentFrame(), 50);
    click("kht");
    EXPECT_EQ(flash().CurrentFrame(), 0);
    click("kqj");
    EXPECT_EQ(flash().CurrentFrame(), 100 - 1);
    EXPECT_EQ(label(2), QStringLiteral("正常播放"));
}

} // namespace
} // namespace vf::test
