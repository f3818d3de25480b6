// onClipEvent and on() event flags as PlaceObject2 and 3 store them.
#pragma once

#include <cstdint>

namespace flash::ClipEventFlag {

inline constexpr uint32_t Load = 0x1, EnterFrame = 0x2, Unload = 0x4, MouseMove = 0x8, MouseDown = 0x10,
                          MouseUp = 0x20, KeyDown = 0x40, KeyUp = 0x80, Data = 0x100, Initialize = 0x200,
                          Press = 0x400, Release = 0x800, ReleaseOutside = 0x1000, RollOver = 0x2000,
                          RollOut = 0x4000, DragOver = 0x8000, DragOut = 0x10000, KeyPress = 0x20000,
                          Construct = 0x40000;

// The on() events that make a clip answer the pointer as a button does.
inline constexpr uint32_t Pointer = Press | Release | ReleaseOutside | RollOver | RollOut | DragOver | DragOut;

} // namespace flash::ClipEventFlag
