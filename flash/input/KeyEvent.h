// A key going down or up, as the player hands it to the movie.
#pragma once

#include <cstdint>

namespace flash {

enum class KeyDirection : uint8_t { Down, Up };

struct KeyEvent {
    KeyDirection direction = KeyDirection::Down;
    int code = 0;           // as Key.getCode gives it (see KeyCodes.h)
    uint32_t character = 0; // as Key.getAscii gives it; 0 for keys without one
};

} // namespace flash
