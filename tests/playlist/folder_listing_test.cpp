// Reading folders by native path: which files a list shows, in which order,
// how full paths are joined, what an unreadable folder gives, and that names
// which are not valid text still reach their files.

#include "movie_folder.h"

#include "playlist/dir_list.h"
#include "playlist/drive_list.h"
#include "playlist/engine_path.h"
#include "playlist/folder_listing.h"

#include <QFile>

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
    EXPECT_EQ(playlist::joinDisplay(QStringLiteral("/home/me"), QStringLiteral("a.swf")), QStringLiteral("/home/me/a.swf"));
    EXPECT_EQ(playlist::joinDisplay(QStringLiteral("/"), QStringLiteral("a.swf")), QStringLiteral("//a.swf"));
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

TEST(NonTextNames, AreListedAndTheEnginePathReadsTheSameFile)
{
    MovieFolder folder;
    const QByteArray name("bad\xff\xfe name.swf");
    const QByteArray content = movieBytes(4);
    folder.write(name, content);

    const auto listed = listMatchingFiles(folder.native(), "*.swf");
    ASSERT_TRUE(listed.has_value());
    ASSERT_EQ(*listed, std::vector<QByteArray>{name});

    const QByteArray full = playlist::joinNative(folder.native(), name);
    EXPECT_FALSE(playlist::spellsAsText(full));
    const playlist::EnginePath enginePath(full);
    QFile opened(enginePath.text());
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly)) << qPrintable(enginePath.text());
    EXPECT_EQ(opened.readAll(), content);
}

TEST(NonTextNames, TextNamesAreHandedOverAsTheyAre)
{
    const playlist::EnginePath enginePath("/tmp/影片 1.swf");
    EXPECT_EQ(enginePath.text(), QStringLiteral("/tmp/影片 1.swf"));
}

} // namespace
} // namespace vf::test
