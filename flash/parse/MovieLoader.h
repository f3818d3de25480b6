// Turns the bytes of a movie file into an immutable Movie.
#pragma once

#include "flash/model/Movie.h"

#include <cstdint>
#include <expected>
#include <memory>
#include <span>
#include <string>

namespace flash {

// What a file may make the loader allocate or walk, so that hostile files stay cheap.
struct LoadLimits {
    size_t maxUncompressedBytes = 256u * 1024 * 1024;
    uint32_t maxSpriteNesting = 64;
    uint32_t maxFrames = 1'000'000;
    // Rough bytes the parsed model (paths, frames, copied data) may hold.
    size_t maxModelBytes = 512u * 1024 * 1024;
};

struct LoadError {
    std::string message; // one line, for users and logs
};

// Never throws on any input: a file that is not a movie yields a LoadError, a
// movie with broken tags loads what can be read and lists the faults in Movie::errors
// ("DefineShape at offset 1234: ...", offsets into the uncompressed file).
// What the loader settles on the way:
// - a broken tag is skipped whole; a tag running past its data is read from what is there;
// - frames are the real ones: one per ShowFrame, plus a last one when control tags
//   or labels follow the last ShowFrame (definitions alone add none); the header's
//   frame count is kept in MovieHeader only;
// - the first definition of a character id wins; DefineFontInfo and
//   DefineButtonCxform update the definition they name;
// - tags after the main timeline's End tag are ignored.
[[nodiscard]] std::expected<std::shared_ptr<const Movie>, LoadError>
loadMovie(std::span<const uint8_t> bytes, const LoadLimits& limits = {});

[[nodiscard]] std::expected<std::shared_ptr<const Movie>, LoadError>
loadMovieFile(const std::string& path, const LoadLimits& limits = {});

// One line per tag (offset, name, length), sprites indented; for debugging.
[[nodiscard]] std::string dumpTags(std::span<const uint8_t> bytes, const LoadLimits& limits = {});

} // namespace flash
