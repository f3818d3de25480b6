// The first frame of a sprite as a display list of its own, for sprites drawn
// where no timeline runs them (the states of a button).
#pragma once

#include "flash/stage/DisplayList.h"

#include <memory>

namespace flash {

// Nested sprites get their own first frames, down to kMaxNesting levels and
// at most `kMaxFirstFrameObjects` objects in all.
[[nodiscard]] std::unique_ptr<DisplayList> buildSpriteFirstFrame(const Movie& movie, const SpriteDef& sprite);

inline constexpr size_t kMaxFirstFrameObjects = 10'000;

} // namespace flash
