// The state the program starts in: window places, text lines, button
// pictures, timers and the frames of the five windows.

#include "panel_fixture.h"

#include "about/form1.h"
#include "app/picture_buttons.h"
#include "playback/flash_from.h"
#include "playlist/form2.h"
#include "playlist/form3.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace vf::test {
namespace {

using StartUp = PanelFixture;

TEST_F(StartUp, PlacesPanelPlaylistAndPlayerWindows)
{
    // 2500, 6750 twips: 166.67 rounds to 167.
    EXPECT_EQ(panel->pos(), QPoint(167, 450));
    EXPECT_EQ(panel->size(), QSize(397, 120));
    // The playlist's left edge: the panel's design width 5955 + 2500 + 5 = 8460.
    EXPECT_EQ(Windows::form2().pos(), QPoint(564, 450));
    EXPECT_EQ(Windows::form2().size(), QSize(161, 117));
    EXPECT_EQ(Windows::flashfrom().pos(), QPoint(100, 0));
    EXPECT_EQ(Windows::flashfrom().size(), QSize(468, 336));
}

TEST_F(StartUp, OnlyPanelPlaylistAndPlayerExistAndAllAreHidden)
{
    EXPECT_TRUE(Windows::isLoaded(WindowName::Form2));
    EXPECT_TRUE(Windows::isLoaded(WindowName::Flashfrom));
    EXPECT_FALSE(Windows::isLoaded(WindowName::Form3));
    EXPECT_FALSE(Windows::isLoaded(WindowName::Form1));
    EXPECT_TRUE(Windows::form2().isHidden());
    EXPECT_TRUE(Windows::flashfrom().isHidden());
}

TEST_F(StartUp, StatusLineReadsReadyAndTheOtherLinesAreEmpty)
{
    EXPECT_EQ(panel->Label2().text(), QStringLiteral("准备就序"));
    EXPECT_TRUE(panel->Label1().text().isEmpty());
    EXPECT_TRUE(panel->Label3().text().isEmpty());
    EXPECT_TRUE(panel->Label4().text().isEmpty());
}

TEST_F(StartUp, EveryButtonShowsItsNormalPictureAtThePicturesSize)
{
    for (const PictureButton& button : kPictureButtons) {
        SCOPED_TRACE(button.button.data());
        const auto& visible = panel->image(QString::fromUtf8(button.button));
        const auto& normal = panel->image(QString::fromUtf8(button.normalHolder));
        EXPECT_FALSE(normal.picture().isNull());
        EXPECT_EQ(visible.picture().cacheKey(), normal.picture().cacheKey());
        EXPECT_EQ(visible.size(), normal.picture().size());
        EXPECT_TRUE(visible.isVisibleTo(panel));
        EXPECT_FALSE(normal.isVisibleTo(panel));
        EXPECT_FALSE(panel->image(QString::fromUtf8(button.hoverHolder)).isVisibleTo(panel));
    }
}

TEST_F(StartUp, CaptionButtonsAreTheirPicturesSizeNotTheDesignPlaceholder)
{
    for (const char* name : {"ab", "small", "closea"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(image(name).size(), QSize(19, 19));
    }
    EXPECT_EQ(image("ab").pos(), QPoint(328, 0));
    EXPECT_EQ(image("closea").pos(), QPoint(376, 0));
    EXPECT_EQ(image("playa").geometry(), QRect(0, 72, 50, 37));
    EXPECT_EQ(image("list").geometry(), QRect(384, 48, 18, 30));
}

TEST_F(StartUp, ProgressTrackAndMarkerStandAtTheTrackStart)
{
    EXPECT_EQ(image("jin1").geometry(), QRect(56, 64, 269, 17));
    EXPECT_EQ(image("jin2").geometry(), QRect(56, 64, 8, 15));
    // The marker is in front of the track, the track in front of the hint line.
    EXPECT_EQ(panel->childAt(58, 66), &image("jin2"));
    EXPECT_EQ(panel->childAt(100, 64), &image("jin1"));
    // The about button covers the current-file line's top right corner.
    EXPECT_EQ(panel->childAt(329, 17), &image("ab"));
}

TEST_F(StartUp, ProgressTimerIsOffAndDockingTimerRuns)
{
    EXPECT_FALSE(panel->Time().isActive());
    EXPECT_EQ(panel->Time().interval(), 1000);
    EXPECT_TRUE(panel->Timer1().isActive());
    EXPECT_EQ(panel->Timer1().interval(), 100);
}

TEST_F(StartUp, TextLinesAreOpaqueBoxesInTheirColours)
{
    struct Line {
        QLabel& label;
        QRect box;
        QColor text;
    };
    const Line lines[] = {
        {panel->Label1(), QRect(56, 16, 273, 17), QColor(0xFF, 0xFF, 0x00)},
        {panel->Label2(), QRect(56, 32, 121, 17), QColor(0xFF, 0x00, 0x00)},
        {panel->Label3(), QRect(176, 32, 153, 17), QColor(0x00, 0xFF, 0x00)},
        {panel->Label4(), QRect(56, 48, 273, 17), QColor(0xFF, 0xFF, 0xFF)},
    };
    for (const Line& line : lines) {
        SCOPED_TRACE(line.label.objectName().toStdString());
        EXPECT_EQ(line.label.geometry(), line.box);
        EXPECT_TRUE(line.label.autoFillBackground());
        EXPECT_EQ(line.label.palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_EQ(line.label.palette().color(QPalette::WindowText), line.text);
    }
}

TEST_F(StartUp, ALongTextNeverEnlargesALine)
{
    QLabel& line = panel->Label1();
    line.setText(QStringLiteral("正在播放：") + QString(400, QLatin1Char('x')));
    EXPECT_EQ(line.geometry(), QRect(56, 16, 273, 17));
}

TEST_F(StartUp, TextIsDrawnInAnUnsmoothedSongFaceOfTwelvePixels)
{
    const QFont font = panel->Label2().font();
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_TRUE(font.styleStrategy() & QFont::NoAntialias);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("AR PL UMing CN"));
}

TEST_F(StartUp, WindowsHaveTheirDesignedFramesAndCaptions)
{
    EXPECT_TRUE(panel->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(panel->windowTitle(), QStringLiteral("VelquorFlash播放器 V1.2"));
    EXPECT_TRUE(Windows::form2().windowFlags() & Qt::FramelessWindowHint);

    FlashFrom& player = Windows::flashfrom();
    EXPECT_EQ(player.windowTitle(), QStringLiteral("VelquorFlash播放器 V1.1"));
    EXPECT_FALSE(player.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_NE(player.minimumSize(), player.maximumSize());

    Form3& chooser = Windows::form3();
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("打开目录"));
    EXPECT_EQ(chooser.minimumSize(), QSize(452, 213));
    EXPECT_EQ(chooser.maximumSize(), QSize(452, 213));
    EXPECT_FALSE(chooser.windowFlags() & Qt::WindowMinimizeButtonHint);

    Form1& about = Windows::form1();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Form1"));
    EXPECT_EQ(about.size(), QSize(430, 213));
}

TEST_F(StartUp, PlaylistListsMoviesInGreenOnBlack)
{
    QListWidget& list = Windows::form2().Fil();
    EXPECT_EQ(list.geometry(), QRect(40, 24, 105, 66));
    EXPECT_EQ(list.property("pattern").toString(), QStringLiteral("*.swf"));
    EXPECT_EQ(list.palette().color(QPalette::Text), QColor(0x00, 0xFF, 0x00));
    EXPECT_EQ(list.palette().color(QPalette::Base), QColor(0x00, 0x00, 0x00));
}

TEST_F(StartUp, FolderChooserFocusesCancelAndTabsInDesignOrder)
{
    Form3& chooser = Windows::form3();
    EXPECT_EQ(chooser.focusWidget(), &chooser.Command2());
    EXPECT_EQ(chooser.Command2().nextInFocusChain(), &chooser.Command1());
    chooser.show();
    chooser.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chooser));
    EXPECT_EQ(QApplication::focusWidget(), &chooser.Command2());
    // The hidden file list keeps its tab place, but the tab key passes it by.
    const QWidget* expectedOrder[] = {&chooser.Command1(), &chooser.Dir1(), &chooser.Drive1(), &chooser.Command2()};
    for (const QWidget* expected : expectedOrder) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected);
    }
    EXPECT_FALSE(chooser.File1().isVisibleTo(&chooser));
    EXPECT_EQ(chooser.Command1().text(), QStringLiteral("打开(&O)"));
    EXPECT_FALSE(chooser.Command1().autoDefault());
    EXPECT_EQ(chooser.Label3().font().pixelSize(), 16);
}

TEST_F(StartUp, AboutBoxShowsItsLinesInTheirFonts)
{
    Form1& about = Windows::form1();
    auto* name = about.control<QLabel>(QStringLiteral("Label1"));
    auto* rights = about.control<QLabel>(QStringLiteral("Label4"));
    ASSERT_TRUE(name && rights);
    EXPECT_EQ(name->text(), QStringLiteral("VelquorFlash播放器"));
    EXPECT_EQ(name->font().pixelSize(), 29);
    EXPECT_EQ(rights->font().pixelSize(), 21);
    EXPECT_EQ(rights->palette().color(QPalette::WindowText), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(about.focusWidget(), &about.Command1());
    EXPECT_FALSE(about.Picture1().pixmap().isNull());
}

} // namespace
} // namespace vf::test
