// Play, stop and the four stepping buttons.

#include "playback_fixture.h"

#include "playback/transport.h"

namespace vf::test {
namespace {

using Transport = PlaybackFixture;

TEST_F(Transport, PlayWithNoMovieOnlyShowsTheMessageBox)
{
    const QPoint playerPlace = player().pos();
    panel->playa_Click();
    ASSERT_EQ(messages.size(), 1u);
    const ShownMessage& shown = messages.front();
    EXPECT_EQ(shown.title, QStringLiteral("播放Flash文件"));
    EXPECT_EQ(shown.text, QStringLiteral("未选择播放文件，請选择要播放的文件！"));
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.buttonCount, 1);
    EXPECT_EQ(shown.standardButtons, QMessageBox::Ok);

    EXPECT_EQ(label(1), QString());
    EXPECT_EQ(label(2), QStringLiteral("准备就序"));
    EXPECT_FALSE(panel->Time().isActive());
    EXPECT_TRUE(player().isHidden());
    EXPECT_EQ(player().pos(), playerPlace);
}

TEST_F(Transport, PlayAfterTheWindowWasClosedFindsNoMovie)
{
    open(movies.write(QStringLiteral("closed"), 10));
    player().close();
    flushDeletions();
    panel->playa_Click();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(player().isHidden());
    EXPECT_EQ(label(2), QStringLiteral("已停止播放"));
    EXPECT_FALSE(panel->Time().isActive());
}

TEST_F(Transport, StopHaltsTheMovieWhereItIsAndKeepsTheProgressLine)
{
    const QString path = movies.write(QStringLiteral("stopped"), 100);
    open(path);
    showFrame(42);
    panel->Time_Timer();
    panel->stopa_Click();
    EXPECT_FALSE(flash().Playing());
    EXPECT_EQ(flash().CurrentFrame(), 42);
    EXPECT_EQ(flash().Movie(), path);
    EXPECT_EQ(label(2), QStringLiteral("已停止播放"));
    EXPECT_EQ(label(3), QStringLiteral("播放进度：42%"));
    EXPECT_FALSE(panel->Time().isActive());

    panel->stopa_Click();
    EXPECT_EQ(label(2), QStringLiteral("已停止播放"));
    EXPECT_EQ(flash().CurrentFrame(), 42);
    EXPECT_FALSE(panel->Time().isActive());
}

TEST_F(Transport, PlayAfterStopRunsOnFromTheSameFrame)
{
    const QString path = movies.write(QStringLiteral("resumed"), 100);
    open(path);
    showFrame(42);
    panel->stopa_Click();
    panel->Label1().setText(QString());
    player().move(300, 200);
    player().hide();

    panel->playa_Click();
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(flash().CurrentFrame(), 42);
    EXPECT_EQ(label(1), QStringLiteral("正在播放：") + path);
    EXPECT_EQ(label(2), QStringLiteral("正常播放中"));
    EXPECT_TRUE(panel->Time().isActive());
    EXPECT_TRUE(player().isVisible());
    EXPECT_EQ(player().pos(), QPoint(100, 0));
}

TEST_F(Transport, PlayOnAMinimisedOrMaximisedWindowSkipsTheMove)
{
    open(movies.write(QStringLiteral("states"), 100));
    player().setWindowState(Qt::WindowNoState);
    player().move(300, 200);
    for (const Qt::WindowState state : {Qt::WindowMinimized, Qt::WindowMaximized}) {
        player().setWindowState(state);
        QCoreApplication::processEvents();
        panel->stopa_Click();
        panel->playa_Click();
        EXPECT_TRUE(player().windowState() & state);
        EXPECT_TRUE(flash().Playing());
        EXPECT_EQ(label(2), QStringLiteral("正常播放中"));
        EXPECT_TRUE(panel->Time().isActive());
        player().setWindowState(Qt::WindowNoState);
        QCoreApplication::processEvents();
        EXPECT_EQ(player().pos(), QPoint(300, 200));
    }
}

TEST_F(Transport, StepTargetsAreNotLimitedToTheMovie)
{
    EXPECT_EQ(stepTarget(10, kStepBack), -20);
    EXPECT_EQ(stepTarget(950, kFastForward), 1050);
    EXPECT_EQ(stepTarget(0, kFastBack), -100);
    EXPECT_EQ(stepTarget(5, kStepForward), 35);
    EXPECT_EQ(stepTarget(std::numeric_limits<qint32>::max(), 1), std::numeric_limits<qint32>::min());
}

TEST_F(Transport, EachButtonStepsByItsOffsetAndSetsTheMovieRunning)
{
    open(movies.write(QStringLiteral("steps"), 1000));
    struct Case {
        void (MainPanel::*click)();
        qint32 from;
        qint32 to;
    };
    for (const Case c : {Case{&MainPanel::ht_Click, 500, 470}, Case{&MainPanel::qj_Click, 500, 530},
                         Case{&MainPanel::kht_Click, 500, 400}, Case{&MainPanel::kqj_Click, 500, 600}}) {
        showFrame(c.from);
        flash().Stop();
        (panel->*c.click)();
        EXPECT_EQ(flash().CurrentFrame(), c.to);
        EXPECT_TRUE(flash().Playing());
        EXPECT_EQ(label(2), QStringLiteral("正常播放"));
    }
}

TEST_F(Transport, StepsPastTheStartOrTheEndAreAccepted)
{
    open(movies.write(QStringLiteral("edges"), 1000));
    showFrame(10);
    panel->ht_Click();  // asks for frame -20
    EXPECT_EQ(flash().CurrentFrame(), 0);
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(label(2), QStringLiteral("正常播放"));

    showFrame(950);
    panel->kqj_Click();  // asks for frame 1050
    EXPECT_EQ(flash().CurrentFrame(), 999);
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(label(2), QStringLiteral("正常播放"));
    EXPECT_EQ(flash().Movie(), movies.folder() + QStringLiteral("/edges.swf"));
}

TEST_F(Transport, StepWithNoMovieCallsTheEmptyComponentAndSaysReady)
{
    panel->Label2().setText(QStringLiteral("已停止播放"));
    for (void (MainPanel::*click)() : {&MainPanel::ht_Click, &MainPanel::qj_Click, &MainPanel::kht_Click,
                                       &MainPanel::kqj_Click}) {
        (panel->*click)();
        EXPECT_EQ(label(2), QStringLiteral("准备就序"));
    }
    EXPECT_EQ(flash().Movie(), QString());
    EXPECT_EQ(label(1), QString());
    EXPECT_TRUE(player().isHidden());
    EXPECT_FALSE(panel->Time().isActive());
}

TEST_F(Transport, StepAfterStopRunsTheMovieButLeavesTheMonitorOff)
{
    open(movies.write(QStringLiteral("after-stop"), 100));
    showFrame(50);
    panel->Time_Timer();
    panel->stopa_Click();
    player().move(300, 200);
    panel->qj_Click();
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(flash().CurrentFrame(), 80);
    EXPECT_EQ(label(2), QStringLiteral("正常播放"));
    EXPECT_EQ(label(3), QStringLiteral("播放进度：50%"));
    EXPECT_FALSE(panel->Time().isActive());
    EXPECT_EQ(player().pos(), QPoint(300, 200));
}

} // namespace
} // namespace vf::test
