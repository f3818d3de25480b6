// The demonstration movies shipped with a build, each written by the SWF writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct DemoMovie {
    std::string fileName;
    std::vector<uint8_t> bytes;
};

// Sky, sun and hills in gradients, drifting clouds, twinkling morph stars and a title.
[[nodiscard]] DemoMovie sunriseMovie();
// A tiled lossless bitmap, two JPEG pictures and a moving circular mask between them.
[[nodiscard]] DemoMovie bitmapsAndMasksMovie();
// Pinwheel sprites with their own timelines, a flower that stops itself, and a looping main timeline.
[[nodiscard]] DemoMovie spritesMovie();
// An analogue clock that its script draws and sets to the machine's time every frame.
[[nodiscard]] DemoMovie clockMovie();
// Xylophone bars that light in step with a streamed tune, and a bell chime (an event sound) at its end.
[[nodiscard]] DemoMovie tonesMovie();

} // namespace demo
