// How the stage fits a view: the scale mode and alignment a movie may set on
// Stage, and the matrix from stage twips to view pixels that follows.
#pragma once

#include "flash/model/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace flash {

enum class ScaleMode : uint8_t { ShowAll, ExactFit, NoBorder, NoScale };

struct StageLayout {
    ScaleMode scaleMode = ScaleMode::ShowAll;
    // Which edges the stage keeps to; neither of a pair centres it on that axis.
    bool left = false, right = false, top = false, bottom = false;

    friend bool operator==(const StageLayout&, const StageLayout&) = default;
};

// Names as scripts write them ("showAll", "noScale", ... any case); nothing for others.
[[nodiscard]] std::optional<ScaleMode> scaleModeNamed(std::string_view name);
[[nodiscard]] std::string_view scaleModeName(ScaleMode mode);
// "T", "B", "L", "R", "TL", "TR", "BL", "BR" in any order and case; other letters are ignored.
void setAlign(StageLayout& layout, std::string_view align);
[[nodiscard]] std::string alignName(const StageLayout& layout);

// Twips of `stage` to pixels of a view `viewWidth` x `viewHeight`.
[[nodiscard]] Matrix stageToView(const Rect& stage, double viewWidth, double viewHeight, const StageLayout& layout);

} // namespace flash
