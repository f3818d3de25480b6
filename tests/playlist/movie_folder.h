#pragma once
// A temporary folder with movies in it, written by the SWF writer under any
// byte names, and the bits of a playlist test run: a chosen current folder
// for the program.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

#include <SwfWriter.h>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vf::test {

// A small movie with the given number of frames.
inline QByteArray movieBytes(int frames)
{
    swfw::SwfWriter writer(6, 100, 100, 12);
    for (int i = 0; i < frames; ++i)
        writer.showFrame();
    const std::vector<uint8_t> bytes = writer.finish();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

class MovieFolder {
public:
    MovieFolder() { EXPECT_TRUE(dir_.isValid()); }
    // Names that are not UTF-8 defeat the temporary folder's own clean-up,
    // which reads names as text: the tree goes by its bytes first.
    ~MovieFolder()
    {
        ::nftw(native().constData(), [](const char* path, const struct stat*, int, FTW*) { return ::remove(path); },
               16, FTW_DEPTH | FTW_PHYS);
    }
    MovieFolder(const MovieFolder&) = delete;
    MovieFolder& operator=(const MovieFolder&) = delete;

    // The folder as the system spells it, and as text.
    QByteArray native() const { return QFile::encodeName(dir_.path()); }
    QString path() const { return dir_.path(); }

    // Writes a file under the byte name below the folder (subfolders made
    // as needed); the default content is a movie of three frames.
    void write(const QByteArray& name, const QByteArray& content = movieBytes(3)) const
    {
        const qsizetype slash = name.lastIndexOf('/');
        if (slash >= 0)
            makeFolder(name.left(slash));
        const QByteArray full = native() + '/' + name;
        const int fd = ::open(full.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << full.constData();
        ASSERT_EQ(::write(fd, content.constData(), static_cast<size_t>(content.size())), content.size());
        ::close(fd);
    }

    // Makes the folder below this one, and the folders above it, by bytes.
    void makeFolder(const QByteArray& name) const
    {
        QByteArray path = native();
        for (const QByteArray& part : name.split('/')) {
            path += '/' + part;
            ::mkdir(path.constData(), 0755);
        }
    }

private:
    QTemporaryDir dir_;
};

// A file name's bytes as the playlist and the engine spell them in text:
// bytes 0x80-0xFF that are not UTF-8 become U+DC80-U+DCFF, one each; the
// rest is ASCII in these tests.
inline QString escapedName(const QByteArray& bytes)
{
    QString text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += value < 0x80 ? QChar(value) : QChar(char16_t(0xDC00 + value));
    }
    return text;
}

// Makes a folder the program's current folder while it lives.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& folder)
        : previous_(QDir::currentPath())
    {
        QDir::setCurrent(folder);
    }
    ~CurrentFolder() { QDir::setCurrent(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    QString previous_;
};

inline bool runningAsRoot()
{
    return ::geteuid() == 0;
}

} // namespace vf::test

QT_BEGIN_NAMESPACE
// Failures print texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
