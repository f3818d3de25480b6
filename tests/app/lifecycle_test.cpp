// Windows are single instances: reaching one creates it once, closing it
// destroys it, and reaching it again builds it anew from its design. The exit
// button and a close request to the panel end the program at once.

#include "panel_fixture.h"

#include "about/form1.h"
#include "playback/flash_from.h"
#include "playlist/form3.h"

#include <QLabel>
#include <QPointer>
#include "pointer.h"

namespace vf::test {
namespace {

using Lifecycle = PanelFixture;

// A window whose unload hook records itself and may refuse the close.
class GuardedWindow : public ui::DesignWindow {
public:
    GuardedWindow()
        : ui::DesignWindow(QStringLiteral("Form1"))
    {
        connect(this, &ui::DesignWindow::unloaded, [this] { events.push_back("unloaded"); });
    }
    int refuse = 0;
    std::vector<std::string> events;

protected:
    void Form_Unload(int& cancel) override
    {
        events.push_back("Form_Unload");
        cancel = refuse;
    }
};

TEST(UnloadHook, RunsBeforeTheWindowGoesAndCanKeepItOpen)
{
    auto owned = std::make_unique<GuardedWindow>();
    QPointer<GuardedWindow> window = owned.get();
    window->show();
    window->refuse = 1;
    EXPECT_FALSE(window->close());
    EXPECT_EQ(window->events, std::vector<std::string>{"Form_Unload"});
    EXPECT_TRUE(window->isVisible());

    window->refuse = 0;
    EXPECT_TRUE(window->close());
    std::ignore = owned.release();  // an accepted close hands the window to Qt's deferred delete
    EXPECT_EQ(window->events, (std::vector<std::string>{"Form_Unload", "Form_Unload", "unloaded"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(Lifecycle, ReachingAWindowCreatesItOnceHidden)
{
    ASSERT_FALSE(Windows::isLoaded(WindowName::Form1));
    Form1* first = &Windows::form1();
    EXPECT_TRUE(Windows::isLoaded(WindowName::Form1));
    EXPECT_EQ(&Windows::form1(), first);
    EXPECT_TRUE(first->isHidden());
}

TEST_F(Lifecycle, ClosingDestroysTheWindowAndTheNextReachBuildsTheDesignState)
{
    QPointer<Form3> first = &Windows::form3();
    first->show();
    first->Label3().setText(QStringLiteral("共有 3 个Flash文件"));
    first->setWindowTitle(QStringLiteral("changed"));

    EXPECT_TRUE(first->close());
    EXPECT_FALSE(Windows::isLoaded(WindowName::Form3));
    flushDeletions();
    EXPECT_TRUE(first.isNull());

    Form3& again = Windows::form3();
    EXPECT_TRUE(again.isHidden());
    EXPECT_NE(again.Label3().text(), QStringLiteral("共有 3 个Flash文件"));
    EXPECT_EQ(again.windowTitle(), QStringLiteral("打开目录"));
}

TEST(WindowSessionEnd, AWindowClosedJustBeforeTheEndIsDeletedSafely)
{
    auto session = std::make_unique<WindowSession>();
    QPointer<Form1> about = &Windows::form1();
    about->show();
    about->close();
    session.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
}

TEST_F(Lifecycle, PlayerWindowComesBackWithItsCaptionAndSize)
{
    FlashFrom& player = Windows::flashfrom();
    player.show();
    player.resize(200, 100);
    player.setWindowTitle(QStringLiteral("x.swf"));
    player.close();
    flushDeletions();

    FlashFrom& again = Windows::flashfrom();
    EXPECT_EQ(again.windowTitle(), QStringLiteral("VelquorFlash播放器 V1.1"));
    EXPECT_EQ(again.size(), QSize(468, 336));
}

TEST_F(Lifecycle, PlayerHostsAComponentInItsDesignedBox)
{
    FlashFrom& player = Windows::flashfrom();
    EXPECT_NE(player.component(), nullptr);  // the engine, hosted on creation
    auto component = std::make_unique<QWidget>();
    QPointer<QWidget> hosted = component.get();
    player.hostComponent(std::move(component));
    ASSERT_EQ(player.component(), hosted.data());
    EXPECT_EQ(hosted->parentWidget(), &player);
    EXPECT_EQ(hosted->geometry(), QRect(120, 16, 97, 105));
    EXPECT_EQ(hosted->objectName(), QStringLiteral("Flash"));
}

TEST_F(Lifecycle, ExitButtonEndsTheProgramWithStatusZeroAndUnloadsNothing)
{
    panel->show();
    panel->Label2().setText(QStringLiteral("正在播放"));
    pointerClick(*panel, Qt::LeftButton, image("closea").geometry().center());
    EXPECT_EQ(programEnds, std::vector<int>{0});
    EXPECT_TRUE(Windows::isLoaded(WindowName::Flashfrom));
    EXPECT_TRUE(Windows::isLoaded(WindowName::Form2));
    EXPECT_EQ(panel->Label2().text(), QStringLiteral("正在播放"));
}

TEST_F(Lifecycle, ACloseRequestToThePanelEndsTheProgram)
{
    panel->show();
    EXPECT_FALSE(panel->close());
    EXPECT_EQ(programEnds, std::vector<int>{0});
    EXPECT_TRUE(Windows::isLoaded(WindowName::Main));
}

TEST_F(Lifecycle, AnyOtherPressOnTheExitButtonDoesNothing)
{
    panel->show();
    pointerClick(*panel, Qt::RightButton, image("closea").geometry().center());
    EXPECT_TRUE(programEnds.empty());
}

} // namespace
} // namespace vf::test
