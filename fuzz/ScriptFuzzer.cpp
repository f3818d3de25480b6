// libFuzzer entry point for the script interpreter: random action blocks run
// on a small stage (a main timeline holding a named clip), for a few ticks.
// Any bytes must run, fault or stop without crashing, hanging or leaking.
#include "flash/scripting/FrameTick.h"
#include "flash/scripting/ScriptRuntime.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

using namespace flash;

constexpr int kTicks = 4;

std::shared_ptr<const Movie> movieAround(const uint8_t* data, size_t size)
{
    auto movie = std::make_shared<Movie>();
    // Byte 0 picks the SWF version (5 to 8), byte 1 where the main timeline's block ends and the clip's begins.
    movie->header.version = uint8_t(5 + (size > 0 ? data[0] % 4 : 0));
    movie->header.frameRate = 12;
    movie->header.stage = Rect{0, 2000, 0, 2000};
    const size_t start = std::min<size_t>(2, size);
    const size_t split = start + (size > 1 ? data[1] : 0) % (size - start + 1);
    const std::vector<uint8_t> mainBlock(data + start, data + split);
    const std::vector<uint8_t> clipBlock(data + split, data + size);

    auto sprite = std::make_shared<SpriteDef>();
    sprite->id = 1;
    sprite->timeline.frames.resize(2);
    sprite->timeline.frames[0].tags.push_back(DoAction{clipBlock, std::nullopt});
    sprite->timeline.frames[1].tags.push_back(DoAction{clipBlock, std::nullopt});
    movie->dictionary[1] = std::shared_ptr<const SpriteDef>(sprite);
    movie->exports["clip"] = 1;

    PlaceObject place;
    place.depth = 1;
    place.characterId = 1;
    place.name = "a";
    place.clipActions.push_back(ClipAction{0x2 /* enterFrame */, 0, clipBlock});
    movie->timeline.frames.resize(2);
    movie->timeline.frames[0].tags.push_back(place);
    movie->timeline.frames[0].tags.push_back(DoAction{mainBlock, std::nullopt});
    movie->timeline.frames[1].tags.push_back(DoAction{mainBlock, std::nullopt});
    return movie;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto movie = movieAround(data, size);
    Stage stage(movie);
    double now = 0;
    ScriptRuntime runtime(stage, movie, ScriptOutput{[](std::string_view) {}, [](std::string_view) {}},
                          [&now] { return now; });
    runtime.setTimeLimit(std::chrono::milliseconds(100));
    for (int tick = 0; tick < kTicks; ++tick) {
        runFrameTick(stage, runtime, &runtime, tick == 0 ? TickStart::Settle : TickStart::Advance);
        now += 1000.0 / 12;
    }
    runtime.collect();
    return 0;
}
