// Movies a movie loads from its folder: SWF files, and JPEG, PNG and GIF
// pictures, which show as a movie of one frame holding the picture.
#pragma once

#include "flash/model/Movie.h"

#include <filesystem>
#include <memory>

namespace flash {

// The movie in `path`, or null when the file is neither a movie nor a picture
// (or too large). A picture's movie takes `version` and `frameRate`.
[[nodiscard]] std::shared_ptr<const Movie> readLocalMovie(const std::filesystem::path& path, uint8_t version,
                                                          double frameRate);

} // namespace flash
