// One character about to be drawn, with everything its placement decided.
#pragma once

#include "flash/model/DisplayList.h"

namespace flash {

struct Placement {
    const Character* character = nullptr;
    Matrix toView;                         // the character's twips to view pixels
    ColorTransform transform;              // accumulated from all parents
    uint16_t ratio = 0;                    // morph shapes
    const DisplayList* children = nullptr; // sprites, and buttons the timeline started
    uint8_t buttonState = ButtonRecord::Up;
    BlendMode blend = BlendMode::Normal;
};

// A button the timeline started draws what it placed; any other button, its definition.
[[nodiscard]] inline bool showsLiveChildren(const Placement& placement)
{
    return placement.children && !placement.children->objects().empty();
}

// Sprites in sprites and buttons in buttons are followed this deep at most.
inline constexpr int kMaxNesting = 64;

} // namespace flash
