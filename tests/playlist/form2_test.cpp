// The playlist window: a selection previews the movie standing still, a
// double click plays it, the pointer over the list sets the hint, and the
// list fills the window but for thin strips.

#include "playlist_fixture.h"

#include <QListWidget>
#include <QTest>

namespace vf::test {
namespace {

class Playlist : public PlaylistFixture {
protected:
    void SetUp() override
    {
        for (const char* name : {"b.swf", "a.swf", "C.SWF"})
            start.write(name);
        startRun();
    }

    QListWidget& list() const { return Windows::form2().Fil(); }
    QPoint rowCentre(int row) const { return list().visualItemRect(list().item(row)).center(); }

    void expectPreviewOf(const QString& path) const
    {
        EXPECT_EQ(flash().Movie(), path);
        EXPECT_FALSE(flash().Playing());
        EXPECT_EQ(panel->Label1().text(), QStringLiteral("正在预览：") + path);
    }

    void expectPlayingOf(const QString& path) const
    {
        EXPECT_EQ(flash().Movie(), path);
        EXPECT_TRUE(flash().Playing());
        EXPECT_TRUE(Windows::flashfrom().isVisible());
        EXPECT_EQ(Windows::flashfrom().pos(), QPoint(100, 0));
        EXPECT_EQ(panel->Label2().text(), QStringLiteral("正常播放中"));
        EXPECT_TRUE(panel->Time().isActive());
        EXPECT_EQ(panel->Label1().text(), QStringLiteral("正在播放：") + path);
    }
};

TEST_F(Playlist, ListsTheStartFoldersMoviesByName)
{
    EXPECT_EQ(fil().Path(), start.path());
    ASSERT_EQ(fil().ListCount(), 3);
    EXPECT_EQ(fil().List(0), QStringLiteral("a.swf"));
    EXPECT_EQ(fil().List(1), QStringLiteral("b.swf"));
    EXPECT_EQ(fil().List(2), QStringLiteral("C.SWF"));
    EXPECT_EQ(list().count(), 3);
    EXPECT_TRUE(fil().FileName().isEmpty());
}

TEST_F(Playlist, SelectingPreviewsTheMovieStandingStillAndTouchesNothingElse)
{
    panel->Label2().setText(QStringLiteral("状态"));
    list().setCurrentRow(1);
    expectPreviewOf(startPath("b.swf"));
    EXPECT_GT(flash().TotalFrames(), 0);
    EXPECT_FALSE(Windows::flashfrom().isVisible());
    EXPECT_FALSE(panel->Time().isActive());
    EXPECT_EQ(panel->Label2().text(), QStringLiteral("状态"));
}

TEST_F(Playlist, DoubleClickOnAnUnselectedEntryPreviewsFirstThenPlays)
{
    Windows::form2().show();
    QWidget* viewport = list().viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, rowCentre(2));
    expectPreviewOf(startPath("C.SWF"));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, rowCentre(2));
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, rowCentre(2));
    expectPlayingOf(startPath("C.SWF"));
}

TEST_F(Playlist, SelectingAnotherEntryWhilePlayingLeavesStatusAndTimer)
{
    list().setCurrentRow(0);
    Windows::form2().Fil_DblClick();
    expectPlayingOf(startPath("a.swf"));

    list().setCurrentRow(1);
    expectPreviewOf(startPath("b.swf"));
    EXPECT_EQ(panel->Label2().text(), QStringLiteral("正常播放中"));
    EXPECT_TRUE(panel->Time().isActive());
}

TEST_F(Playlist, KeyboardMovesPreviewEachEntryTheyLandOn)
{
    Windows::form2().show();
    list().setFocus();
    list().setCurrentRow(0);
    QTest::keyClick(&list(), Qt::Key_Down);
    expectPreviewOf(startPath("b.swf"));
    QTest::keyClick(&list(), Qt::Key_Down);
    expectPreviewOf(startPath("C.SWF"));
}

TEST_F(Playlist, DoubleClickOnAMinimisedPlayerPlaysWhereItIs)
{
    FlashFrom& player = Windows::flashfrom();
    player.show();
    player.setWindowState(Qt::WindowMinimized);
    list().setCurrentRow(0);
    Windows::form2().Fil_DblClick();
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(panel->Label2().text(), QStringLiteral("正常播放中"));
}

TEST_F(Playlist, PointerOverAFullListExplainsClickAndDoubleClick)
{
    Windows::form2().show();
    QTest::mouseMove(list().viewport(), rowCentre(0));
    EXPECT_EQ(panel->Label4().text(), QStringLiteral("单击文件名-预览文件，双击文件名-播放文件"));
}

TEST_F(Playlist, PointerOverAnEmptyListAsksForAFolder)
{
    MovieFolder empty;
    ASSERT_TRUE(fil().setNativePath(empty.native()));
    EXPECT_EQ(list().count(), 0);
    Windows::form2().show();
    QTest::mouseMove(list().viewport(), QPoint(20, 20));
    EXPECT_EQ(panel->Label4().text(), QStringLiteral("请先选择播放文件夹"));
}

TEST_F(Playlist, ListCoversTheWindowButForStripsAtLeftTopAndRight)
{
    Windows::form2().show();
    EXPECT_EQ(Windows::form2().size(), QSize(161, 117));
    EXPECT_EQ(list().geometry(), QRect(1, 1, 159, 116));
}

TEST_F(Playlist, AFolderThatCannotBeReadLeavesTheListAsItWas)
{
    QByteArray gone;
    {
        MovieFolder vanished;
        gone = vanished.native();
    }
    EXPECT_FALSE(fil().setNativePath(gone));
    EXPECT_EQ(fil().Path(), start.path());
    EXPECT_EQ(fil().ListCount(), 3);
}

TEST_F(Playlist, AVanishedMovieIsStillHandedOverByItsPath)
{
    QFile::remove(startPath("a.swf"));
    list().setCurrentRow(0);
    expectPreviewOf(startPath("a.swf"));
}

// A name in a legacy eight-bit encoding: not UTF-8.
TEST_F(Playlist, ANameThatIsNotTextIsListedPreviewedAndPlayedByItsOwnPath)
{
    MovieFolder odd;
    const QByteArray name("\xb2\xa5\xb7\xc5.swf");
    odd.write(name, movieBytes(5));
    ASSERT_TRUE(fil().setNativePath(odd.native()));
    ASSERT_EQ(fil().ListCount(), 1);
    EXPECT_EQ(fil().List(0), escapedName(name));
    const QString path = odd.path() + QLatin1Char('/') + escapedName(name);

    list().setCurrentRow(0);
    expectPreviewOf(path);
    EXPECT_EQ(flash().TotalFrames(), 5);

    Windows::form2().Fil_DblClick();
    expectPlayingOf(path);
    EXPECT_EQ(flash().TotalFrames(), 5);
    // The panel's play button writes the current-file line from the
    // component's path: the same path, not a stand-in.
    panel->playa_Click();
    EXPECT_EQ(panel->Label1().text(), QStringLiteral("正在播放：") + path);
}

TEST_F(Playlist, UTF8NamesAreListedAsTheyAre)
{
    MovieFolder folder;
    folder.write("影片 1.swf", movieBytes(2));
    ASSERT_TRUE(fil().setNativePath(folder.native()));
    ASSERT_EQ(fil().ListCount(), 1);
    EXPECT_EQ(fil().List(0), QStringLiteral("影片 1.swf"));
    list().setCurrentRow(0);
    expectPreviewOf(folder.path() + QStringLiteral("/影片 1.swf"));
    EXPECT_EQ(flash().TotalFrames(), 2);
}

// A program started in a folder whose name is not UTF-8 lists that folder.
TEST(PlaylistStart, AStartFolderThatIsNotTextIsListed)
{
    MovieFolder parent;
    const QByteArray folderName("\xe6\x97.films");  // a cut-off character
    parent.write(folderName + "/a.swf", movieBytes(3));
    const QByteArray folder = parent.native() + '/' + folderName;
    const QString previous = QDir::currentPath();
    ASSERT_EQ(::chdir(folder.constData()), 0);
    {
        WindowSession session;
        const playlist::FileList& list = Windows::form2().filList();
        EXPECT_EQ(list.nativePath(), folder);
        EXPECT_EQ(list.Path(), parent.path() + QLatin1Char('/') + escapedName(folderName));
        EXPECT_EQ(list.ListCount(), 1);
        EXPECT_EQ(Windows::form3().dirList().nativePath(), folder);
        EXPECT_EQ(Windows::form3().Label3().text(), QStringLiteral("此文件夾共有：1个Flash播放文件"));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDir::setCurrent(previous);
}

TEST_F(Playlist, TenThousandMoviesFillTheList)
{
    MovieFolder many;
    const QByteArray movie = movieBytes(1);
    for (int i = 0; i < 10000; ++i)
        many.write(QByteArray("movie") + QByteArray::number(i).rightJustified(5, '0') + ".swf", movie);
    ASSERT_TRUE(fil().setNativePath(many.native()));
    EXPECT_EQ(fil().ListCount(), 10000);
    EXPECT_EQ(list().count(), 10000);
    EXPECT_EQ(list().item(9999)->text(), QStringLiteral("movie09999.swf"));
}

// The root folder's entries join with two separators in a row; writing a
// movie there needs the rights to.
TEST(PlaylistRoot, AnEntryOfTheRootFolderGetsTwoSeparators)
{
    const QByteArray name = "vf-playlist-root-" + QByteArray::number(::getpid()) + ".swf";
    QFile movie(QStringLiteral("/") + QFile::decodeName(name));
    if (!movie.open(QIODevice::WriteOnly))
        GTEST_SKIP() << "the root folder is not writable here";
    movie.write(movieBytes(2));
    movie.close();
    struct Remove {
        QFile& file;
        ~Remove() { file.remove(); }
    } remove{movie};

    CurrentFolder root(QStringLiteral("/"));
    WindowSession session;
    MainPanel& panel = Windows::main();
    Form2& playlist = Windows::form2();
    EXPECT_EQ(playlist.filList().Path(), QStringLiteral("/"));
    const QList<QListWidgetItem*> found = playlist.Fil().findItems(QFile::decodeName(name), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    playlist.Fil().setCurrentItem(found.first());
    const QString expected = QStringLiteral("//") + QFile::decodeName(name);
    EXPECT_EQ(Windows::flashfrom().Flash().Movie(), expected);
    EXPECT_EQ(Windows::flashfrom().Flash().TotalFrames(), 2);
    EXPECT_EQ(panel.Label1().text(), QStringLiteral("正在预览：") + expected);
}

} // namespace
} // namespace vf::test
