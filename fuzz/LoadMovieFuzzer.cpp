// libFuzzer entry point for the movie loader: any bytes must load or be
// rejected without crashing, hanging or reading out of bounds.
#include "flash/parse/MovieLoader.h"

#include <cstdint>
#include <vector>

namespace {

// Most real movies are compressed, where mutations rarely survive the
// decompressor. Inputs without a signature are therefore also tried as the
// uncompressed content of a movie, so the fuzzer reaches the tag parsers.
std::vector<uint8_t> asPlainMovie(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> movie{'F', 'W', 'S', 10, 0, 0, 0, 0};
    const uint32_t length = uint32_t(size + movie.size());
    for (int i = 0; i < 4; ++i)
        movie[4 + i] = uint8_t(length >> (8 * i));
    movie.insert(movie.end(), data, data + size);
    return movie;
}

void exercise(const flash::Movie& movie)
{
    for (const auto& [id, character] : movie.dictionary) {
        if (auto morph = std::get_if<std::shared_ptr<const flash::MorphShapeDef>>(&character))
            (void)flash::morphShapeAt(**morph, 0.5);
    }
    (void)movie.timeline.frameOfLabel("start");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    flash::LoadLimits limits;
    limits.maxUncompressedBytes = 16u << 20;
    limits.maxModelBytes = 64u << 20;
    const std::span<const uint8_t> bytes(data, size);
    if (auto movie = flash::loadMovie(bytes, limits))
        exercise(**movie);
    (void)flash::dumpTags(bytes, limits);
    const auto plain = asPlainMovie(data, size);
    if (auto movie = flash::loadMovie(plain, limits))
        exercise(**movie);
    return 0;
}
