// The progress line and marker once a second, and the playlist docking.

#include "playback_fixture.h"

#include "playback/progress_monitor.h"
#include "playlist/form2.h"
#include "ui/image_control.h"
#include "ui/twips.h"

namespace vf::test {
namespace {

using Progress = PlaybackFixture;

// Where a tick puts the marker's left edge, in pixels as the window shows it.
int markerPixelsAt(qint32 cur, qint32 total)
{
    return ui::twipsToPixels(float(4035.0 / total * cur + 780));
}

TEST_F(Progress, WholePercentIsTheExactFloor)
{
    EXPECT_EQ(wholePercent(0, 10), 0);
    EXPECT_EQ(wholePercent(5, 10), 50);
    EXPECT_EQ(wholePercent(29, 100), 29);
    EXPECT_EQ(wholePercent(57, 100), 57);
    EXPECT_EQ(wholePercent(58, 100), 58);
    EXPECT_EQ(wholePercent(2, 3), 66);
    EXPECT_EQ(wholePercent(3, 3), 100);
    EXPECT_EQ(wholePercent(7, 3), 233);
    EXPECT_EQ(wholePercent(-1, 3), -34);
    EXPECT_EQ(wholePercent(65535, 65535), 100);
    EXPECT_EQ(wholePercent(std::numeric_limits<qint32>::max(), 1), qint64(std::numeric_limits<qint32>::max()) * 100);
    EXPECT_EQ(wholePercent(5, 0), 0);
    EXPECT_EQ(progressText(42), QStringLiteral("播放进度：42%"));
}

TEST_F(Progress, LineAndMarkerFollowTheFramePlayed)
{
    open(movies.write(QStringLiteral("ten"), 10));
    showFrame(0);
    panel->Time_Timer();
    EXPECT_EQ(label(3), QStringLiteral("播放进度：0%"));
    EXPECT_EQ(markerLeft(), 780);

    showFrame(5);
    panel->Time_Timer();
    EXPECT_EQ(label(3), QStringLiteral("播放进度：50%"));
    EXPECT_EQ(image("jin2").x(), markerPixelsAt(5, 10));
    EXPECT_EQ(image("jin2").y(), 64);

    open(movies.write(QStringLiteral("hundred"), 100));
    for (const qint32 frame : {29, 57, 58, 99}) {
        showFrame(frame);
        panel->Time_Timer();
        EXPECT_EQ(label(3), QStringLiteral("播放进度：%1%").arg(frame));
        EXPECT_EQ(image("jin2").x(), markerPixelsAt(frame, 100)) << frame;
    }
}

TEST_F(Progress, MarkerCentredOverTheTrackEndGoesBackToTheTrackStart)
{
    open(movies.write(QStringLiteral("wrap"), 100));
    showFrame(50);
    image("jin2").move(ui::twipsToPixels(4815), 70);
    panel->Time_Timer();
    EXPECT_EQ(label(3), QStringLiteral("播放进度：50%"));
    EXPECT_EQ(image("jin2").pos(), image("jin1").pos());

    panel->Time_Timer();
    EXPECT_EQ(image("jin2").pos(), QPoint(markerPixelsAt(50, 100), image("jin1").y()));
}

TEST_F(Progress, WithNothingPlayingTheLineShowsZeroAndTheMarkerStart)
{
    panel->Time_Timer();
    EXPECT_EQ(label(3), QStringLiteral("播放进度：0%"));
    EXPECT_EQ(markerLeft(), 780);

    open(movies.write(QStringLiteral("halted"), 100));
    showFrame(70);
    panel->Time_Timer();
    panel->stopa_Click();
    panel->Time_Timer();
    EXPECT_EQ(label(3), QStringLiteral("播放进度：0%"));
    EXPECT_EQ(markerLeft(), 780);
}

TEST_F(Progress, MovieThatHaltsOnItsLastFrameDropsToZeroWhileTheStatusStays)
{
    open(movies.write(QStringLiteral("halts"), 10, MovieEnd::StopsAtLastFrame));
    showFrame(8);
    panel->Time_Timer();
    EXPECT_EQ(label(3), QStringLiteral("播放进度：80%"));

    showFrame(9);  // runs the movie's own stop
    ASSERT_FALSE(flash().Playing());
    panel->Time_Timer();
    EXPECT_EQ(label(3), QStringLiteral("播放进度：0%"));
    EXPECT_EQ(markerLeft(), 780);
    EXPECT_EQ(label(2), QStringLiteral("正常播放中"));
    EXPECT_TRUE(panel->Time().isActive());
}

TEST_F(Progress, AfterStopTheLineStaysAndPlayResumesIt)
{
    open(movies.write(QStringLiteral("resume"), 100));
    showFrame(25);
    panel->Time_Timer();
    panel->stopa_Click();
    const QPoint marker = image("jin2").pos();
    EXPECT_EQ(label(3), QStringLiteral("播放进度：25%"));
    EXPECT_EQ(image("jin2").pos(), marker);

    panel->playa_Click();
    EXPECT_TRUE(panel->Time().isActive());
    showFrame(75);
    panel->Time_Timer();
    EXPECT_EQ(label(3), QStringLiteral("播放进度：75%"));
    EXPECT_EQ(image("jin2").x(), markerPixelsAt(75, 100));
}

TEST_F(Progress, TimeTicksDriveTheMonitor)
{
    open(movies.write(QStringLiteral("ticking"), 100));
    ASSERT_TRUE(panel->Time().isActive());
    EXPECT_EQ(panel->Time().interval(), 1000);
    panel->Label3().setText(QString());
    QTRY_VERIFY_WITH_TIMEOUT(label(3).startsWith(QStringLiteral("播放进度：")), 5000);
}

TEST_F(Progress, PlaylistFollowsThePanelAfterAMove)
{
    EXPECT_EQ(panel->Timer1().interval(), 100);
    EXPECT_TRUE(panel->Timer1().isActive());
    panel->move(40, 300);
    panel->Timer1_Timer();
    // 5 twips right of the panel's right edge, which whole pixels round away.
    EXPECT_EQ(Windows::form2().pos(), QPoint(40 + panel->width(), 300));
    EXPECT_TRUE(Windows::form2().isHidden());

    panel->list_Click();
    panel->move(123, 45);
    QTRY_COMPARE_WITH_TIMEOUT(Windows::form2().pos(), QPoint(123 + panel->width(), 45), 5000);
    EXPECT_TRUE(Windows::form2().isVisible());
    // The player window stays where it is.
    EXPECT_EQ(player().pos(), QPoint(100, 0));
}

} // namespace
} // namespace vf::test
