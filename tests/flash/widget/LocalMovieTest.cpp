// The control opens a movie by the exact bytes of its path: a name that is
// not UTF-8, written as text with escapes, loads and reads back unchanged.

#include "flash/widget/FlashWidget.h"
#include "flash/widget/LocalPath.h"

#include <SwfWriter.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <ftw.h>
#include <sys/stat.h>

namespace flash {
namespace {

class LocalMovie : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    // The temporary folder's own clean-up reads names as text and would
    // leave these behind.
    void TearDown() override
    {
        ::nftw(QFile::encodeName(dir_.path()).constData(),
               [](const char* path, const struct stat*, int, FTW*) { return ::remove(path); }, 16,
               FTW_DEPTH | FTW_PHYS);
    }

    // Writes a movie of `frames` frames under the byte name; returns its
    // path as text.
    QString writeMovie(const QByteArray& name, int frames)
    {
        swfw::SwfWriter writer(6, 100, 100, 12);
        for (int i = 0; i < frames; ++i)
            writer.showFrame();
        const std::vector<uint8_t> bytes = writer.finish();
        const QByteArray path = QFile::encodeName(dir_.path()) + '/' + name;
        std::ofstream out(path.toStdString(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        EXPECT_TRUE(out.good());
        return pathFromLocalBytes(path);
    }

    QTemporaryDir dir_;
};

TEST_F(LocalMovie, ANameThatIsNotUTF8LoadsAndReadsBackAsWritten)
{
    const QString path = writeMovie(QByteArray("\xb2\xa5\xb7\xc5.swf"), 4);
    FlashWidget widget;
    widget.setMovie(path);
    EXPECT_EQ(widget.movie(), path);
    EXPECT_EQ(widget.totalFrames(), 4);
    EXPECT_TRUE(widget.playing());
}

TEST_F(LocalMovie, TheNameDecodedWithReplacementCharactersNamesNoFile)
{
    const QByteArray name("\xff\xfe.swf");
    writeMovie(name, 2);
    FlashWidget widget;
    widget.setMovie(QFile::decodeName(QFile::encodeName(dir_.path()) + '/' + name));
    EXPECT_EQ(widget.totalFrames(), 0);
}

TEST_F(LocalMovie, ABackslashPathBelowSuchAFolderIsFoundWithSlashes)
{
    const QByteArray folder("\xe9t\xe9");
    ASSERT_EQ(::mkdir((QFile::encodeName(dir_.path()) + '/' + folder).constData(), 0755), 0);
    const QString slashed = writeMovie(folder + "/x.swf", 3);
    QString backslashed = slashed;
    backslashed.replace(QLatin1Char('/'), QLatin1Char('\\'));
    FlashWidget widget;
    widget.setMovie(backslashed);
    EXPECT_EQ(widget.movie(), backslashed);
    EXPECT_EQ(widget.totalFrames(), 3);
}

} // namespace
} // namespace flash
