// What scripts read of the keyboard and the pointer between events: the keys
// held down, the lock keys, the last key pressed, whether the pointer is hidden.
#pragma once

#include "flash/stage/ObjectRegistry.h"

#include <bitset>
#include <cstdint>

namespace flash {

struct InputState {
    std::bitset<256> keysDown;
    bool capsLock = false, numLock = false, scrollLock = false;
    int lastCode = 0;
    uint32_t lastCharacter = 0;
    bool pointerHidden = false;
    ObjectHandle focus;             // what has the keyboard focus (Selection), if anything
    bool focusFromKeyboard = false; // focus came by Tab: buttons and clips show the focus rectangle

    [[nodiscard]] bool isDown(double code) const { return code >= 0 && code < 256 && keysDown.test(size_t(code)); }
};

} // namespace flash
