#include "test_movies.h"

#include "SwfWriter.h"

#include <QFile>

namespace vf::test {

QString TestMovies::write(const QString& name, int frames, MovieEnd end, double frameRate)
{
    constexpr double kStageWidth = 200;
    constexpr double kStageHeight = 100;
    swfw::SwfWriter writer(6, kStageWidth, kStageHeight, frameRate);
    writer.background(swfw::Color::rgb(0xffffff));
    const uint16_t square = writer.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0xff0000)).rect(0, 0, 20, 20));
    writer.place(1, square, swfw::Matrix::translation(0, 40));
    for (int frame = 0; frame < frames; ++frame) {
        if (frame > 0)
            writer.move(1, swfw::Matrix::translation((kStageWidth - 20) * frame / frames, 40));
        if (end == MovieEnd::StopsAtLastFrame && frame == frames - 1)
            writer.actions(swfw::Actions().stop());
        writer.showFrame();
    }
    const std::vector<uint8_t> bytes = writer.finish();

    const QString path = folder_.filePath(name + QStringLiteral(".swf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        qFatal("cannot write test movie %s", qPrintable(path));
    return path;
}

} // namespace vf::test
