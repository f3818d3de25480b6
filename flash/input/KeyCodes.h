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

// The character a key gives unshifted (Key.getAscii), or 0 for keys without one.
[[nodiscard]] constexpr uint32_t asciiOf(int code)
{
    if (code >= 'A' && code <= 'Z')
        return uint32_t(code - 'A' + 'a');
    if ((code >= '0' && code <= '9') || code == Space || code == Backspace || code == Tab || code == Enter
        || code == Escape)
        return uint32_t(code);
    if (code >= 96 && code <= 105)
        return uint32_t('0' + code - 96); // the keypad's digits
    switch (code) {
    case Delete: return 127;
    case 106: return '*';
    case 107: return '+';
    case 109: return '-';
    case 110: return '.';
    case 111: return '/';
    case 186: return ';';
    case 187: return '=';
    case 188: return ',';
    case 189: return '-';
    case 190: return '.';
    case 191: return '/';
    case 192: return '`';
    case 219: return '[';
    case 220: return '\\';
    case 221: return ']';
    case 222: return '\'';
    default: return 0;
    }
}

// The key that types `character` on a common keyboard, or 0 when none does.
[[nodiscard]] constexpr int codeOf(uint32_t character)
{
    if (character >= 'a' && character <= 'z')
        return int(character - 'a' + 'A');
    if ((character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9') || character == ' ')
        return int(character);
    if (character == '\r' || character == '\n')
        return Enter;
    for (int code = 186; code <= 222; ++code) {
        if (asciiOf(code) == character)
            return code;
    }
    return 0;
}

} // namespace flash::key
