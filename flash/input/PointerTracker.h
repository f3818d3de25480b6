// Follows the pointer across the objects that take it, and says what happens
// to each: rolled over, pressed, released, dragged out and back, released
// outside. Buttons show the state that follows; scripts hear the transitions.
#pragma once

#include "flash/input/ButtonTransition.h"
#include "flash/input/PointerTargets.h"
#include "flash/stage/ObjectRegistry.h"

#include <vector>

namespace flash {

class PointerTracker {
public:
    struct Transition {
        ObjectHandle target;
        ButtonTransition what;
    };
    using Transitions = std::vector<Transition>;

    // The pointer moved to `stagePoint` (twips); also called with the same point
    // when the stage changed under a still pointer.
    Transitions move(Stage& stage, PointerTargets& targets, Point stagePoint);
    Transitions press(Stage& stage, PointerTargets& targets);
    Transitions release(Stage& stage, PointerTargets& targets);

    [[nodiscard]] Point position() const { return m_position; }
    [[nodiscard]] bool isDown() const { return m_down; }
    // What the pointer is over, if that takes the pointer.
    [[nodiscard]] ObjectHandle hovered() const { return m_over; }
    // What took the last press, while the mouse button stays down.
    [[nodiscard]] ObjectHandle pressed() const { return m_pressed; }

private:
    void announce(Stage& stage, ObjectHandle target, ButtonTransition what, Transitions& out);
    void hoverTo(Stage& stage, DisplayObject* target, Transitions& out);
    void dragTo(Stage& stage, PointerTargets& targets, DisplayObject* target, Transitions& out);

    Point m_position;
    bool m_down = false;
    ObjectHandle m_over;        // under the pointer and taking it
    ObjectHandle m_pressed;     // took the press; kept until the release
    bool m_pressedInside = false;
};

} // namespace flash
