// The pointer over the panel: buttons turn to their hover pictures and name
// themselves, the track has its hint, the bare background puts everything
// back, and labels and the marker ignore the pointer.

#include "panel_fixture.h"
#include "pointer.h"

#include "app/picture_buttons.h"

#include <QLabel>

namespace vf::test {
namespace {

class Hover : public PanelFixture {
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        panel->show();
    }

    QPoint centreOf(const char* name) const { return image(name).geometry().center(); }

    bool showsHover(const PictureButton& button) const
    {
        return panel->image(QString::fromUtf8(button.button)).picture().cacheKey()
            == panel->image(QString::fromUtf8(button.hoverHolder)).picture().cacheKey();
    }

    bool showsNormal(const PictureButton& button) const
    {
        return panel->image(QString::fromUtf8(button.button)).picture().cacheKey()
            == panel->image(QString::fromUtf8(button.normalHolder)).picture().cacheKey();
    }

    int buttonsShowingHover() const
    {
        return static_cast<int>(std::ranges::count_if(kPictureButtons, [this](const auto& b) { return showsHover(b); }));
    }

    const PictureButton& button(std::string_view name) const
    {
        return *std::ranges::find(kPictureButtons, name, &PictureButton::button);
    }

    // A spot of bare background between the step-back and step-forward buttons.
    static constexpr QPoint kBareBackground{100, 100};
};

TEST_F(Hover, EachButtonShowsItsHoverPictureAndNamesItself)
{
    for (const PictureButton& entry : kPictureButtons) {
        SCOPED_TRACE(entry.button.data());
        const QSize before = panel->image(QString::fromUtf8(entry.button)).size();
        pointerMove(*panel, centreOf(entry.button.data()));
        EXPECT_TRUE(showsHover(entry));
        EXPECT_EQ(panel->Label4().text(), QString::fromUtf8(entry.hint));
        EXPECT_EQ(panel->image(QString::fromUtf8(entry.button)).size(), before);
        pointerMove(*panel, kBareBackground);
    }
}

TEST_F(Hover, ButtonToButtonLeavesBothHoveredAndNamesTheLast)
{
    // The pointer goes from one button to the next with no move over the
    // background in between.
    pointerMove(*panel, QPoint(350, 50));  // qian
    pointerMove(*panel, QPoint(390, 50));  // list
    EXPECT_TRUE(showsHover(button("qian")));
    EXPECT_TRUE(showsHover(button("list")));
    EXPECT_EQ(buttonsShowingHover(), 2);
    EXPECT_EQ(panel->Label4().text(), QStringLiteral("显示/隐藏播放列表"));
}

TEST_F(Hover, BareBackgroundRestoresEveryButtonAndEmptiesTheHint)
{
    pointerMove(*panel, centreOf("ab"));
    pointerMove(*panel, centreOf("small"));
    pointerMove(*panel, centreOf("playa"));
    pointerMove(*panel, kBareBackground);
    EXPECT_EQ(buttonsShowingHover(), 0);
    for (const PictureButton& entry : kPictureButtons)
        EXPECT_TRUE(showsNormal(entry)) << entry.button;
    EXPECT_TRUE(panel->Label4().text().isEmpty());
}

TEST_F(Hover, BareBackgroundClearsAHintWrittenElsewhere)
{
    pointerMove(*panel, kBareBackground);
    panel->Label4().setText(QStringLiteral("单击预览，双击播放"));
    pointerMove(*panel, kBareBackground + QPoint(2, 0));
    EXPECT_TRUE(panel->Label4().text().isEmpty());
}

TEST_F(Hover, LeavingTheWindowFromAButtonKeepsItsHoverAndHint)
{
    pointerMove(*panel, centreOf("stopa"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&image("stopa"), &leave);
    QCoreApplication::sendEvent(panel, &leave);
    EXPECT_TRUE(showsHover(button("stopa")));
    EXPECT_EQ(panel->Label4().text(), QStringLiteral("停止播放"));
}

TEST_F(Hover, TrackNamesItselfAndLeavesPicturesAlone)
{
    pointerMove(*panel, centreOf("kqj"));
    pointerMove(*panel, QPoint(200, 70));  // the track, right of the marker
    EXPECT_EQ(panel->Label4().text(), QStringLiteral("播放进度显示"));
    EXPECT_TRUE(showsHover(button("kqj")));
    EXPECT_EQ(buttonsShowingHover(), 1);
}

TEST_F(Hover, MarkerAndTextLinesChangeNothing)
{
    pointerMove(*panel, centreOf("openfile"));
    const QString hint = panel->Label4().text();
    const QPoint quietSpots[] = {
        QPoint(59, 70),   // the marker, over the track's left end
        QPoint(200, 20),  // current-file line
        QPoint(100, 36),  // status line
        QPoint(250, 36),  // progress line
        QPoint(200, 52),  // hint line
    };
    for (const QPoint spot : quietSpots) {
        SCOPED_TRACE(testing::Message() << spot.x() << "," << spot.y());
        pointerMove(*panel, spot);
        EXPECT_EQ(panel->Label4().text(), hint);
        EXPECT_TRUE(showsHover(button("openfile")));
        EXPECT_EQ(buttonsShowingHover(), 1);
    }
}

} // namespace
} // namespace vf::test
