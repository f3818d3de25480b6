// Reading folders by native path: which files a list shows, in which order,
// how full paths are joined, what an unreadable folder gives, and that names
// which are not valid text still reach their files.

#include "movie_folder.h"

#include "playlist/dir_list.h"
#include "playlist/drive_list.h"
#include "playlist/file_list.h"
#include "playlist/folder_listing.h"

#include "flash/widget/LocalPath.h"

#include <QDir>
#include <QFile>
#include <QListWidget>

#include <sys/stat.h>

namespace vf::test {
namespace {

using playlist::listMatchingFiles;
using playlist::listSubfolders;

std::vector<QByteArray> names(std::initializer_list<const char*> list)
{
    return {list.begin(), list.end()};
}

TEST(MatchingFiles, PatternIgnoresLetterCaseAndListsOnlyFilesSortedByName)
{
    MovieFolder folder;
    for (const char* name : {"b.swf", "A.SWF", "c.Swf", "notes.swf.txt", "d.swfx", "e.fla", ".hidden.swf"})
        folder.write(name);
    folder.makeFolder("folder.swf");
    ASSERT_EQ(::symlink("b.swf", (folder.native() + "/link.swf").constData()), 0);
    ASSERT_EQ(::symlink("missing.swf", (folder.native() + "/dangling.swf").constData()), 0);

    const auto listed = listMatchingFiles(folder.native(), "*.swf");
    ASSERT_TRUE(listed.has_value());
    EXPECT_EQ(*listed, names({"A.SWF", "b.swf", "c.Swf", "link.swf"}));
}

TEST(MatchingFiles, NamesSortWithoutRegardToCaseAndStayDistinct)
{
    std::vector<QByteArray> sorted = names({"b.swf", "B.swf", "a10.swf", "A2.swf", "_x.swf"});
    playlist::sortByName(sorted);
    EXPECT_EQ(sorted, names({"_x.swf", "a10.swf", "A2.swf", "B.swf", "b.swf"}));
}

TEST(MatchingFiles, AnEmptyFolderGivesNoEntries)
{
    MovieFolder folder;
    const auto listed = listMatchingFiles(folder.native(), "*.swf");
    ASSERT_TRUE(listed.has_value());
    EXPECT_TRUE(listed->empty());
}

TEST(MatchingFiles, TenThousandMoviesAllListedInOrder)
{
    MovieFolder folder;
    const QByteArray movie = movieBytes(1);
    for (int i = 9999; i >= 0; --i)
        folder.write(QByteArray("m") + QByteArray::number(i).rightJustified(5, '0') + ".swf", movie);

    const auto listed = listMatchingFiles(folder.native(), "*.swf");
    ASSERT_TRUE(listed.has_value());
    ASSERT_EQ(listed->size(), 10000u);
    EXPECT_EQ(listed->front(), "m00000.swf");
    EXPECT_EQ((*listed)[4711], "m04711.swf");
    EXPECT_EQ(listed->back(), "m09999.swf");
}

TEST(UnreadableFolder, ARemovedFolderGivesTheSystemsReason)
{
    QByteArray gone;
    {
        MovieFolder folder;
        gone = folder.native();
    }
    const auto files = listMatchingFiles(gone, "*.swf");
    ASSERT_FALSE(files.has_value());
    EXPECT_FALSE(files.error().isEmpty());
    EXPECT_FALSE(listSubfolders(gone).has_value());
}

TEST(UnreadableFolder, AFolderWithoutReadPermissionGivesTheSystemsReason)
{
    if (runningAsRoot())
        GTEST_SKIP() << "permissions do not keep the superuser out";
    MovieFolder folder;
    folder.makeFolder("locked");
    const QByteArray locked = folder.native() + "/locked";
    ASSERT_EQ(::chmod(locked.constData(), 0), 0);
    const auto files = listMatchingFiles(locked, "*.swf");
    ::chmod(locked.constData(), 0755);
    ASSERT_FALSE(files.has_value());
    EXPECT_FALSE(files.error().isEmpty());
}

TEST(Subfolders, OnlyFoldersAndLinksToFoldersWithoutHiddenOnes)
{
    MovieFolder folder;
    for (const char* name : {"b", "A", ".hidden"})
        folder.makeFolder(name);
    folder.write("file.swf");
    ASSERT_EQ(::symlink("b", (folder.native() + "/c").constData()), 0);
    const auto listed = listSubfolders(folder.native());
    ASSERT_TRUE(listed.has_value());
    EXPECT_EQ(*listed, names({"A", "b", "c"}));
}

TEST(FullPath, OneSeparatorIsAlwaysInserted)
{
    EXPECT_EQ(playlist::joinNative("/home/me", "a.swf"), QByteArray("/home/me/a.swf"));
    EXPECT_EQ(playlist::joinNative("/", "a.swf"), QByteArray("//a.swf"));
    EXPECT_EQ(playlist::joinNative("/media/", "a.swf"), QByteArray("/media//a.swf"));
}

TEST(FolderChain, AncestorsFromTheRootDown)
{
    EXPECT_EQ(playlist::folderChain("/"), names({"/"}));
    EXPECT_EQ(playlist::folderChain("/a/b"), names({"/", "/a", "/a/b"}));
}

TEST(Drives, AFolderBelongsToTheDeepestMountPointAboveIt)
{
    const std::vector<QByteArray> points = names({"/", "/media/disk", "/media/disk2", "/home"});
    EXPECT_EQ(playlist::mountPointOf(points, "/media/disk/films"), QByteArray("/media/disk"));
    EXPECT_EQ(playlist::mountPointOf(points, "/media/disk2"), QByteArray("/media/disk2"));
    EXPECT_EQ(playlist::mountPointOf(points, "/media/diskette"), QByteArray("/"));
    EXPECT_EQ(playlist::mountPointOf(points, "/homework"), QByteArray("/"));
}

TEST(Drives, TheRootComesFirstAndNoKernelTreesAreListed)
{
    const std::vector<QByteArray> points = playlist::userMountPoints();
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points.front(), QByteArray("/"));
    for (const QByteArray& point : points) {
        for (const char* tree : {"/proc", "/sys", "/dev"})
            EXPECT_FALSE(point == tree || point.startsWith(QByteArray(tree) + '/')) << point.constData();
    }
}

TEST(NonTextNames, AreMatchedAndSortedAndTheirEntryPathsGiveBackTheBytes)
{
    MovieFolder folder;
    for (const char* name : {"b\xff.SWF", "a\xe9.swf", "C.swf", "d\xe9.txt"})
        folder.write(name);

    const auto listed = listMatchingFiles(folder.native(), "*.swf");
    ASSERT_TRUE(listed.has_value());
    ASSERT_EQ(*listed, names({"a\xe9.swf", "b\xff.SWF", "C.swf"}));

    QListWidget widget;
    const playlist::FileList list(widget, QStringLiteral("*.swf"), folder.native());
    ASSERT_EQ(list.ListCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const QByteArray& name = (*listed)[static_cast<std::size_t>(i)];
        EXPECT_EQ(widget.item(i)->text(), escapedName(name));
        EXPECT_EQ(flash::localPathBytes(list.entryPath(i)), playlist::joinNative(folder.native(), name));
    }
}

TEST(NonTextNames, AFolderWithSuchANameListsItsFilesAndReadsBackAsText)
{
    MovieFolder parent;
    const QByteArray folderName("\x80\xbf");
    parent.write(folderName + "/a.swf");
    const QByteArray folder = parent.native() + '/' + folderName;

    QListWidget widget;
    playlist::FileList list(widget, QStringLiteral("*.swf"), parent.native());
    ASSERT_TRUE(list.setPath(parent.path() + QLatin1Char('/') + escapedName(folderName)));
    EXPECT_EQ(list.nativePath(), folder);
    EXPECT_EQ(list.ListCount(), 1);
    EXPECT_EQ(list.entryPath(0), parent.path() + QLatin1Char('/') + escapedName(folderName) + QStringLiteral("/a.swf"));
}

TEST(CurrentFolder, IsTheSystemsBytes)
{
    MovieFolder parent;
    const QByteArray folder = parent.native() + "/\xfe";
    parent.makeFolder("\xfe");
    const QString previous = QDir::currentPath();
    ASSERT_EQ(::chdir(folder.constData()), 0);
    const QByteArray current = playlist::currentFolder();
    QDir::setCurrent(previous);
    EXPECT_EQ(current, folder);
}

} // namespace
} // namespace vf::test
