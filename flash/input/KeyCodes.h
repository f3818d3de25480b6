// Key codes as movies see them (Key.getCode, onClipEvent(keyDown)), and the
// codes a button's key-press condition uses, which differ for the special keys.
#pragma once

#include <cstdint>

namespace flash::key {

inline constexpr int Backspace = 8, Tab = 9, Enter = 13, Shift = 16, Control = 17, Alt = 18, CapsLock = 20,
                     Escape = 27, Space = 32, PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37, Up = 38,
                     Right = 39, Down = 40, Insert = 45, Delete = 46;

// The key-press condition code for a key, or 0 when a button cannot wait for it:
// the special keys have codes of their own below 32, the others their character.
[[nodiscard]] constexpr uint8_t buttonKeyCode(int code, uint32_t character)
{
    switch (code) {
    case Left: return 1;
    case Right: return 2;
    case Home: return 3;
    case End: return 4;
    case Insert: return 5;
    case Delete: return 6;
    case Backspace: return 8;
    case Enter: return 13;
    case Up: return 14;
    case Down: return 15;
    case PageUp: return 16;
    case PageDown: return 17;
    case Tab: return 18;
    case Escape: return 19;
    default: break;
    }
    return character >= 32 && character < 128 ? uint8_t(character) : 0;
}

} // namespace flash::key
