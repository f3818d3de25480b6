// Writes the demonstration movies into the folder given on the command line.
#include "DemoMovies.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // image format plugins (JPEG) load through it
    if (argc != 2) {
        std::fprintf(stderr, "usage: demomovies OUTPUT_DIR\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "demomovies: cannot create %s\n", argv[1]);
        return 1;
    }
    try {
        for (const auto& movie : {demo::sunriseMovie(), demo::bitmapsAndMasksMovie(), demo::spritesMovie(), demo::clockMovie(),
                                  demo::tonesMovie()}) {
            QFile file(QDir(outDir).filePath(QString::fromStdString(movie.fileName)));
            if (!file.open(QIODevice::WriteOnly)
                || file.write(reinterpret_cast<const char*>(movie.bytes.data()), qint64(movie.bytes.size()))
                       != qint64(movie.bytes.size())) {
                std::fprintf(stderr, "demomovies: cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "demomovies: %s\n", e.what());
        return 1;
    }
    return 0;
}
