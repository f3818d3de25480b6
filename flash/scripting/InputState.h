// What scripts read of the keyboard and the pointer between events: the keys
// held down, the lock keys, the last key pressed, whether the pointer is hidden.
#pragma once

#include <bitset>
#include <cstdint>

namespace flash {

struct InputState {
    std::bitset<256> keysDown;
    bool capsLock = false, numLock = false, scrollLock = false;
    int lastCode = 0;
    uint32_t lastCharacter = 0;
    bool pointerHidden = false;

    [[nodiscard]] bool isDown(double code) const { return code >= 0 && code < 256 && keysDown.test(size_t(code)); }
};

} // namespace flash
