// The folder chooser: the count line, handing a folder over, playing the
// playlist's first movie however the chooser closes, drive changes, folders
// that cannot be read, and its keyboard.

#include "playlist_fixture.h"

#include "ui/image_control.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <sys/stat.h>

namespace vf::test {
namespace {

QString countLine(int count)
{
    return QStringLiteral("此文件夾共有：%1个Flash播放文件").arg(count);
}

class Chooser : public PlaylistFixture {
protected:
    void SetUp() override
    {
        for (const char* name : {"b.swf", "a.swf"})
            start.write(name);
        start.write("sub/x.swf");
        start.write("sub/y.swf");
        start.write("sub/z.SWF");
        start.makeFolder("empty");
        startRun();
    }

    Form3& chooser() const { return Windows::form3(); }
    QListWidget& dir1() const { return chooser().Dir1(); }

    QListWidgetItem* folderItem(const QString& name) const
    {
        for (int row = 0; row < dir1().count(); ++row) {
            if (dir1().item(row)->text().trimmed() == name)
                return dir1().item(row);
        }
        ADD_FAILURE() << "no folder " << qPrintable(name);
        return nullptr;
    }

    // Opens a folder of the folder list the way the user does.
    void doubleClickFolder(const QString& name) const
    {
        QListWidgetItem* item = folderItem(name);
        ASSERT_NE(item, nullptr);
        const QPoint centre = dir1().visualItemRect(item).center();
        QTest::mouseClick(dir1().viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(dir1().viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }

    // The chooser's native window, active, so that key presses reach it the
    // way real ones do (shortcuts included).
    QWindow* activeChooserWindow() const
    {
        chooser().winId();
        QWindow* window = chooser().windowHandle();
        window->requestActivate();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        return window;
    }

    void expectFirstMoviePlaying(const QString& path) const
    {
        EXPECT_EQ(flash().Movie(), path);
        EXPECT_TRUE(flash().Playing());
        EXPECT_TRUE(panel->Time().isActive());
        EXPECT_EQ(panel->Label2().text(), QStringLiteral("正在播放中"));
        EXPECT_EQ(panel->Label1().text(), QStringLiteral("正在播放：") + path);
        EXPECT_TRUE(Windows::flashfrom().isVisible());
    }

    void expectNothingPlayed() const
    {
        EXPECT_TRUE(flash().Movie().isEmpty());
        EXPECT_FALSE(panel->Time().isActive());
        EXPECT_EQ(panel->Label2().text(), QStringLiteral("准备就序"));
        EXPECT_FALSE(Windows::flashfrom().isVisible());
    }
};

TEST_F(Chooser, OpensAtTheCurrentFolderAndCountsItsMovies)
{
    EXPECT_EQ(chooser().dirList().Path(), start.path());
    EXPECT_EQ(chooser().Label3().text(), countLine(2));
    EXPECT_EQ(chooser().windowTitle(), QStringLiteral("打开目录"));
    EXPECT_EQ(chooser().Command1().text(), QStringLiteral("打开(&O)"));
    EXPECT_EQ(chooser().Command2().text(), QStringLiteral("取消(&X)"));
    EXPECT_FALSE(chooser().File1().isVisible());
}

TEST_F(Chooser, FolderListShowsAncestorsFromTheRootThenSubfolders)
{
    const QStringList parts = start.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    ASSERT_EQ(dir1().count(), 1 + parts.size() + 2);
    EXPECT_EQ(dir1().item(0)->text(), QStringLiteral("/"));
    for (int i = 0; i < parts.size(); ++i)
        EXPECT_EQ(dir1().item(1 + i)->text().trimmed(), parts[i]);
    EXPECT_EQ(dir1().currentRow(), parts.size());
    EXPECT_EQ(dir1().item(parts.size() + 1)->text().trimmed(), QStringLiteral("empty"));
    EXPECT_EQ(dir1().item(parts.size() + 2)->text().trimmed(), QStringLiteral("sub"));
}

TEST_F(Chooser, DoubleClickOpensAFolderAndRecounts)
{
    chooser().show();
    doubleClickFolder(QStringLiteral("sub"));
    EXPECT_EQ(chooser().dirList().Path(), start.path() + QStringLiteral("/sub"));
    EXPECT_EQ(chooser().Label3().text(), countLine(3));
    doubleClickFolder(start.path().section(QLatin1Char('/'), -1));
    EXPECT_EQ(chooser().dirList().Path(), start.path());
    EXPECT_EQ(chooser().Label3().text(), countLine(2));
}

TEST_F(Chooser, HandingOverAHighlightedFolderHandsTheOpenOne)
{
    chooser().show();
    QListWidgetItem* sub = folderItem(QStringLiteral("sub"));
    ASSERT_NE(sub, nullptr);
    QTest::mouseClick(dir1().viewport(), Qt::LeftButton, Qt::NoModifier, dir1().visualItemRect(sub).center());
    EXPECT_EQ(dir1().currentItem(), sub);
    EXPECT_EQ(chooser().dirList().Path(), start.path());
    EXPECT_EQ(chooser().Label3().text(), countLine(2));

    doubleClickFolder(QStringLiteral("empty"));
    QTest::mouseClick(dir1().viewport(), Qt::LeftButton, Qt::NoModifier,
                      dir1().visualItemRect(dir1().item(0)).center());
    QPointer<Form3> open = &chooser();
    open->Command1().click();
    EXPECT_TRUE(open.isNull() || !open->isVisible());
    EXPECT_FALSE(Windows::isLoaded(WindowName::Form3));
    EXPECT_EQ(fil().Path(), start.path() + QStringLiteral("/empty"));
    EXPECT_EQ(fil().ListCount(), 0);
    expectNothingPlayed();
}

TEST_F(Chooser, HandingOverAFolderPlaysItsFirstMovie)
{
    chooser().show();
    doubleClickFolder(QStringLiteral("sub"));
    chooser().Command1().click();
    EXPECT_EQ(fil().Path(), start.path() + QStringLiteral("/sub"));
    EXPECT_EQ(fil().ListCount(), 3);
    expectFirstMoviePlaying(start.path() + QStringLiteral("/sub/x.swf"));
    EXPECT_FALSE(Windows::form2().isVisible());
}

TEST_F(Chooser, CancelPlaysThePlaylistsFirstMovieNotTheShownFolder)
{
    chooser().show();
    doubleClickFolder(QStringLiteral("sub"));
    chooser().Command2().click();
    EXPECT_FALSE(Windows::isLoaded(WindowName::Form3));
    EXPECT_EQ(fil().Path(), start.path());
    expectFirstMoviePlaying(startPath("a.swf"));
}

TEST_F(Chooser, TheCloseBoxPlaysThePlaylistsFirstMovieToo)
{
    chooser().show();
    EXPECT_TRUE(chooser().close());
    expectFirstMoviePlaying(startPath("a.swf"));
}

TEST_F(Chooser, ClosingOverAnEmptyPlaylistChangesNothing)
{
    MovieFolder empty;
    ASSERT_TRUE(fil().setNativePath(empty.native()));
    chooser().show();
    chooser().Command2().click();
    EXPECT_FALSE(Windows::isLoaded(WindowName::Form3));
    expectNothingPlayed();
}

TEST_F(Chooser, AChooserOpenedAgainStartsAtTheCurrentFolder)
{
    chooser().show();
    doubleClickFolder(QStringLiteral("sub"));
    chooser().Command1().click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(chooser().dirList().Path(), start.path());
    EXPECT_EQ(chooser().Label3().text(), countLine(2));
}

TEST_F(Chooser, ChangingTheDriveOpensItsRootAndRecounts)
{
    chooser().show();
    QComboBox& drives = chooser().Drive1();
    ASSERT_GE(drives.count(), 1);
    EXPECT_EQ(drives.itemText(0), QStringLiteral("/"));
    // Start from a folder below the root, then choose the root's drive.
    doubleClickFolder(QStringLiteral("sub"));
    ASSERT_EQ(chooser().Label3().text(), countLine(3));
    drives.setCurrentIndex(0);
    chooser().Drive1_Change();
    EXPECT_EQ(chooser().dirList().Path(), QStringLiteral("/"));
    const auto rootMovies = playlist::listMatchingFiles("/", "*.swf");
    ASSERT_TRUE(rootMovies.has_value());
    EXPECT_EQ(chooser().Label3().text(), countLine(static_cast<int>(rootMovies->size())));
    EXPECT_EQ(dir1().item(0)->text(), QStringLiteral("/"));
}

TEST_F(Chooser, TheDriveListNamesMountPointsWithTheRootFirst)
{
    QComboBox& drives = chooser().Drive1();
    for (int i = 0; i < drives.count(); ++i) {
        EXPECT_TRUE(drives.itemText(i).startsWith(QLatin1Char('/')));
        EXPECT_FALSE(drives.itemText(i).startsWith(QStringLiteral("/proc")));
        EXPECT_FALSE(drives.itemText(i).startsWith(QStringLiteral("/sys")));
    }
    EXPECT_EQ(drives.itemText(0), QStringLiteral("/"));
    EXPECT_TRUE(start.path().startsWith(chooser().driveList().Drive()));
}

TEST_F(Chooser, ARemovedFolderKeepsTheChooserWhereItWas)
{
    chooser().show();
    QDir(start.path() + QStringLiteral("/sub")).removeRecursively();
    doubleClickFolder(QStringLiteral("sub"));
    EXPECT_EQ(chooser().dirList().Path(), start.path());
    EXPECT_TRUE(chooser().Label3().text().startsWith(countLine(2) + QLatin1Char('\n')));
    EXPECT_GT(chooser().Label3().text().size(), countLine(2).size() + 1);
    // Still usable: another folder opens.
    doubleClickFolder(QStringLiteral("empty"));
    EXPECT_EQ(chooser().Label3().text(), countLine(0));
}

TEST_F(Chooser, AFolderWithoutReadPermissionKeepsTheChooserWhereItWas)
{
    if (runningAsRoot())
        GTEST_SKIP() << "permissions do not keep the superuser out";
    chooser().show();
    const QByteArray locked = start.native() + "/sub";
    ASSERT_EQ(::chmod(locked.constData(), 0), 0);
    doubleClickFolder(QStringLiteral("sub"));
    ::chmod(locked.constData(), 0755);
    EXPECT_EQ(chooser().dirList().Path(), start.path());
    EXPECT_TRUE(chooser().Label3().text().startsWith(countLine(2) + QLatin1Char('\n')));
}

TEST_F(Chooser, AnUnreadableDriveKeepsThePreviousDriveAndFolder)
{
    chooser().show();
    QComboBox& drives = chooser().Drive1();
    const int shown = drives.currentIndex();
    QByteArray gone;
    {
        MovieFolder vanished;
        gone = vanished.native();
    }
    drives.addItem(QFile::decodeName(gone), gone);
    drives.setCurrentIndex(drives.count() - 1);
    emit drives.activated(drives.count() - 1);
    EXPECT_EQ(drives.currentIndex(), shown);
    EXPECT_EQ(chooser().dirList().Path(), start.path());
    EXPECT_TRUE(chooser().Label3().text().startsWith(countLine(2) + QLatin1Char('\n')));
}

TEST_F(Chooser, FocusStartsOnCancelAndTabVisitsOpenFoldersThenDrives)
{
    chooser().show();
    QApplication::setActiveWindow(&chooser());
    EXPECT_EQ(QApplication::focusWidget(), &chooser().Command2());
    QWidget* order[] = {&chooser().Command2(), &chooser().Command1(), &chooser().Dir1(), &chooser().Drive1()};
    for (int i = 0; i + 1 < 4; ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus || !next->isVisibleTo(&chooser()))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i + 1]) << i;
    }
}

TEST_F(Chooser, EnterPressesOnlyTheFocusedButtonAndEscapeNothing)
{
    chooser().show();
    QApplication::setActiveWindow(&chooser());
    QTest::keyClick(&chooser().Dir1(), Qt::Key_Escape);
    QTest::keyClick(&chooser(), Qt::Key_Escape);
    EXPECT_TRUE(Windows::isLoaded(WindowName::Form3));
    chooser().Dir1().setFocus();
    QTest::keyClick(&chooser().Dir1(), Qt::Key_Return);
    EXPECT_TRUE(Windows::isLoaded(WindowName::Form3));

    chooser().Command2().setFocus();
    QTest::keyClick(&chooser().Command2(), Qt::Key_Return);
    EXPECT_FALSE(Windows::isLoaded(WindowName::Form3));
    expectFirstMoviePlaying(startPath("a.swf"));
}

TEST_F(Chooser, AltOAndAltXPressTheButtons)
{
    chooser().show();
    QApplication::setActiveWindow(&chooser());
    doubleClickFolder(QStringLiteral("sub"));
    QTest::keyClick(activeChooserWindow(), Qt::Key_O, Qt::AltModifier);
    // An access key presses its button visibly: the click follows shortly.
    EXPECT_TRUE(QTest::qWaitFor([] { return !Windows::isLoaded(WindowName::Form3); }));
    EXPECT_EQ(fil().Path(), start.path() + QStringLiteral("/sub"));

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    chooser().show();
    QApplication::setActiveWindow(&chooser());
    doubleClickFolder(QStringLiteral("empty"));
    QTest::keyClick(activeChooserWindow(), Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([] { return !Windows::isLoaded(WindowName::Form3); }));
    EXPECT_EQ(fil().Path(), start.path() + QStringLiteral("/sub"));
}

TEST_F(Chooser, TheOpenFolderButtonOpensTheChooserAndLaterOnlyBringsItForward)
{
    panel->opendir_Click();
    ASSERT_TRUE(Windows::isLoaded(WindowName::Form3));
    Form3* first = &chooser();
    EXPECT_TRUE(first->isVisible());
    first->Label3().setText(QStringLiteral("marker"));
    panel->opendir_Click();
    EXPECT_EQ(&chooser(), first);
    EXPECT_EQ(first->Label3().text(), QStringLiteral("marker"));
}

TEST_F(Chooser, ANameThatIsNotTextIsCountedHandedOverAndPlayed)
{
    const QByteArray name("\xff\xfe.swf");
    start.write("odd/" + name, movieBytes(6));
    chooser().show();
    doubleClickFolder(QStringLiteral("odd"));
    EXPECT_EQ(chooser().Label3().text(), countLine(1));
    chooser().Command1().click();
    EXPECT_EQ(fil().ListCount(), 1);
    expectFirstMoviePlaying(start.path() + QStringLiteral("/odd/") + escapedName(name));
    EXPECT_EQ(flash().TotalFrames(), 6);
}

TEST_F(Chooser, AFolderWhoseNameIsNotTextOpensCountsAndIsHandedOver)
{
    const QByteArray folderName("films \xc0\xaf");  // an overlong slash
    start.write(folderName + "/\xe9t\xe9.swf", movieBytes(4));
    start.write(folderName + "/b.swf", movieBytes(2));
    const QString folder = start.path() + QLatin1Char('/') + escapedName(folderName);
    chooser().show();
    doubleClickFolder(escapedName(folderName));
    EXPECT_EQ(chooser().dirList().nativePath(), start.native() + '/' + folderName);
    EXPECT_EQ(chooser().dirList().Path(), folder);
    EXPECT_EQ(chooser().Label3().text(), countLine(2));
    // Its own entry heads the open folder's part of the list.
    EXPECT_EQ(dir1().currentItem()->text().trimmed(), escapedName(folderName));

    chooser().Command1().click();
    EXPECT_EQ(fil().nativePath(), start.native() + '/' + folderName);
    EXPECT_EQ(fil().Path(), folder);
    ASSERT_EQ(fil().ListCount(), 2);
    expectFirstMoviePlaying(folder + QStringLiteral("/b.swf"));
    EXPECT_EQ(flash().TotalFrames(), 2);
}

} // namespace
} // namespace vf::test
