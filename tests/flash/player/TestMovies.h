// Small movies written with the SWF writer for the player, control and tool tests.
#pragma once

#include "SwfWriter.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

namespace flash::test {

// One colour per frame, filling a 200 x 100 stage.
inline const std::vector<uint32_t> kFrameColors{0xff0000, 0x00ff00, 0x0000ff, 0xffff00, 0x00ffff, 0xff00ff};

// Frame n fills the stage with kFrameColors[n]; the header claims 100 frames.
// With `stopOn`, that frame stops the movie.
inline std::vector<uint8_t> colourFramesMovie(std::optional<int> stopOn = std::nullopt, double frameRate = 24)
{
    swfw::SwfWriter writer(8, 200, 100, frameRate);
    std::vector<uint16_t> shapes;
    for (uint32_t color : kFrameColors)
        shapes.push_back(writer.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(color)).rect(0, 0, 200, 100)));
    for (size_t frame = 0; frame < shapes.size(); ++frame) {
        swfw::Placement placement;
        placement.depth = 1;
        placement.characterId = shapes[frame];
        placement.move = frame > 0;
        writer.place(placement);
        if (stopOn && size_t(*stopOn) == frame)
            writer.actions(swfw::Actions().stop());
        writer.showFrame();
    }
    writer.setHeaderFrameCount(100);
    return writer.finish(swfw::Compression::Zlib);
}

inline bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

// True when `image` at (x, y) is within a few levels of `hex` on every channel.
inline bool hasColorAt(const QImage& image, int x, int y, uint32_t hex)
{
    const QColor actual = image.pixelColor(x, y);
    const QColor expected(QRgb(0xff000000 | hex));
    return std::abs(actual.red() - expected.red()) <= 3 && std::abs(actual.green() - expected.green()) <= 3
        && std::abs(actual.blue() - expected.blue()) <= 3;
}

} // namespace flash::test
