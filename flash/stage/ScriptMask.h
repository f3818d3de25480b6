// Masks set by scripts (setMask): one object clips another by its drawn area,
// wherever either stands in the tree. A mask clips one object at a time.
#pragma once

#include "flash/stage/DisplayList.h"

namespace flash {

// Makes `mask` clip `object`, or lifts the object's mask when `mask` is null.
// A mask that clipped another object before lets go of it.
void setScriptMask(DisplayObject& object, DisplayObject* mask);

// The mask clipping `object`, while both are on stage.
[[nodiscard]] const DisplayObject* scriptMaskOf(const DisplayObject& object);

// Whether `object` is a mask now clipping an object on stage: it is not drawn then.
[[nodiscard]] bool isScriptMask(const DisplayObject& object);

} // namespace flash
