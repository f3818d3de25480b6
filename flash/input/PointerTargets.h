// What pointer tracking needs to know of the objects on stage; the player
// answers it from what scripts set on them and from what the renderer draws.
#pragma once

#include "flash/model/Geometry.h"

namespace flash {

struct DisplayObject;
class Stage;

class PointerTargets {
public:
    virtual ~PointerTargets() = default;
    // Whether `object` answers the pointer itself: an enabled button, or a clip
    // with pointer handlers. Such a clip takes the hit for its children.
    [[nodiscard]] virtual bool takesPointer(const DisplayObject& object) = 0;
    // Whether a pressed pointer passes from it to the next such object (a menu item).
    [[nodiscard]] virtual bool tracksAsMenu(const DisplayObject& object) = 0;
    // Whether a stage point (twips) falls on what `object` draws; a button answers by its hit state.
    [[nodiscard]] virtual bool hits(const DisplayObject& object, Point stagePoint) = 0;
};

// The top-most object under `stagePoint` that takes the pointer, or null:
// visible objects only, masks respected, a taking clip answering for its children.
[[nodiscard]] DisplayObject* pointerTargetAt(Stage& stage, PointerTargets& targets, Point stagePoint);

} // namespace flash
