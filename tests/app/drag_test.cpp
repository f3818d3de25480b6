// Dragging the panel: only a left press on the bare background starts a move,
// once the pointer moves with the button held, and without a window system
// move the panel follows the pointer itself.

#include "panel_fixture.h"
#include "pointer.h"

#include <QSignalSpy>

namespace vf::test {
namespace {

class Drag : public PanelFixture {
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        panel->show();
        starts = std::make_unique<QSignalSpy>(panel, &MainPanel::dragStarted);
    }

    static constexpr QPoint kBareBackground{100, 100};
    std::unique_ptr<QSignalSpy> starts;
};

TEST_F(Drag, LeftPressOnBareBackgroundStartsAMoveThatFollowsThePointer)
{
    const QPoint start = panel->pos();
    pointerPress(*panel, Qt::LeftButton, kBareBackground);
    EXPECT_EQ(starts->count(), 0);  // a press alone moves nothing yet
    pointerMove(*panel, kBareBackground + QPoint(30, -20));
    ASSERT_EQ(starts->count(), 1);
    const bool bySystem = starts->at(0).at(0).toBool();
    if (bySystem)
        GTEST_SKIP() << "the window system moves the panel";
    EXPECT_EQ(panel->pos(), start + QPoint(30, -20));
    pointerRelease(*panel, Qt::LeftButton, kBareBackground);
    const QPoint released = panel->pos();
    pointerMove(*panel, kBareBackground + QPoint(5, 5));
    EXPECT_EQ(panel->pos(), released);
}

TEST_F(Drag, OtherButtonsOnTheBackgroundDoNotMoveThePanel)
{
    const QPoint start = panel->pos();
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        pointerPress(*panel, button, kBareBackground);
        pointerMove(*panel, kBareBackground + QPoint(40, 10));
        pointerRelease(*panel, button, kBareBackground + QPoint(40, 10));
    }
    EXPECT_EQ(starts->count(), 0);
    EXPECT_EQ(panel->pos(), start);
}

TEST_F(Drag, PressesOnControlsDoNotMoveThePanel)
{
    const QPoint start = panel->pos();
    const QPoint controls[] = {
        image("openfile").geometry().center(),
        image("playa").geometry().center(),
        QPoint(59, 70),   // marker
        QPoint(200, 70),  // track
        QPoint(100, 36),  // status line
        QPoint(200, 20),  // current-file line
    };
    for (const QPoint spot : controls) {
        pointerPress(*panel, Qt::LeftButton, spot);
        pointerMove(*panel, spot + QPoint(15, 0));
        pointerRelease(*panel, Qt::LeftButton, spot + QPoint(15, 0));
    }
    EXPECT_EQ(starts->count(), 0);
    EXPECT_EQ(panel->pos(), start);
}

} // namespace
} // namespace vf::test
