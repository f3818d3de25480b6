// Every block of action bytes a movie holds, with where it stands.
#pragma once

#include "flash/model/Movie.h"

#include <functional>
#include <span>

namespace flash {

struct ActionBlockSite {
    enum class Kind : uint8_t { Frame, Init, ClipEvent, Button };
    Kind kind = Kind::Frame;
    uint16_t timeline = 0;   // the sprite whose timeline holds it; 0 for the main timeline
    uint32_t frame = 0;      // 0-based frame of that timeline (buttons: 0)
    uint16_t depth = 0;      // clip events: the placed clip's depth
    uint32_t events = 0;     // clip events: event flags as stored; buttons: condition flags
    uint16_t target = 0;     // init actions: the sprite initialised; buttons: the button's id
};

// Calls `visit` for each block, the main timeline first, then sprites and buttons by id.
void forEachActionBlock(const Movie& movie,
                        const std::function<void(const ActionBlockSite&, std::span<const uint8_t>)>& visit);

} // namespace flash
