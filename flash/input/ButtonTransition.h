// What happens to a button, or to a clip acting as one, as the pointer moves
// over it and the mouse button goes down and up.
#pragma once

#include <cstdint>

namespace flash {

// Where the pointer stands with respect to one button.
enum class PointerState : uint8_t {
    Idle,     // outside, or inside with nothing pressed on it elsewhere
    OverUp,   // inside, mouse button up
    OverDown, // inside, pressed on it
    OutDown,  // pressed on it, then moved outside
};

enum class ButtonTransition : uint8_t {
    RollOver,       // Idle -> OverUp
    RollOut,        // OverUp -> Idle
    Press,          // OverUp -> OverDown
    Release,        // OverDown -> OverUp
    DragOut,        // OverDown -> OutDown
    DragOver,       // OutDown -> OverDown
    ReleaseOutside, // OutDown -> Idle
    MenuDragOver,   // Idle -> OverDown: a menu item the pointer enters while pressed elsewhere
    MenuDragOut,    // OverDown -> Idle: a menu item the pointer leaves while pressed
};

// The condition bit of a button's action for `transition`, as DefineButton2 stores them.
[[nodiscard]] constexpr uint16_t conditionBit(ButtonTransition transition)
{
    switch (transition) {
    case ButtonTransition::RollOver: return 0x0001;
    case ButtonTransition::RollOut: return 0x0002;
    case ButtonTransition::Press: return 0x0004;
    case ButtonTransition::Release: return 0x0008;
    case ButtonTransition::DragOut: return 0x0010;
    case ButtonTransition::DragOver: return 0x0020;
    case ButtonTransition::ReleaseOutside: return 0x0040;
    case ButtonTransition::MenuDragOver: return 0x0080;
    case ButtonTransition::MenuDragOut: return 0x0100;
    }
    return 0;
}

// The key press a button action waits for, in the upper seven bits of its conditions.
[[nodiscard]] constexpr uint8_t conditionKey(uint16_t conditions)
{
    return uint8_t(conditions >> 9);
}

} // namespace flash
