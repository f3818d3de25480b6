// The states and transitions of a button as the file format defines them; a
// clip with pointer handlers goes through the same ones.
#include "flash/input/PointerTracker.h"

#include "flash/model/Movie.h"
#include "flash/stage/Stage.h"

namespace flash {

namespace {

// The state a button shows after a transition.
uint8_t shownState(ButtonTransition what)
{
    switch (what) {
    case ButtonTransition::RollOver:
    case ButtonTransition::Release:
    case ButtonTransition::DragOut:
        return ButtonRecord::Over;
    case ButtonTransition::Press:
    case ButtonTransition::DragOver:
    case ButtonTransition::MenuDragOver:
        return ButtonRecord::Down;
    case ButtonTransition::RollOut:
    case ButtonTransition::ReleaseOutside:
    case ButtonTransition::MenuDragOut:
        break;
    }
    return ButtonRecord::Up;
}

} // namespace

void PointerTracker::announce(Stage& stage, ObjectHandle target, ButtonTransition what, Transitions& out)
{
    if (DisplayObject* object = stage.find(target)) {
        stage.setButtonState(*object, shownState(what));
        out.push_back({target, what});
    }
}

void PointerTracker::hoverTo(Stage& stage, DisplayObject* target, Transitions& out)
{
    const ObjectHandle next = target ? handleOf(*target) : ObjectHandle{};
    if (next == m_over)
        return;
    if (stage.find(m_over))
        announce(stage, m_over, ButtonTransition::RollOut, out);
    m_over = next;
    if (target)
        announce(stage, next, ButtonTransition::RollOver, out);
}

void PointerTracker::dragTo(Stage& stage, PointerTargets& targets, DisplayObject* target, Transitions& out)
{
    DisplayObject* pressed = stage.find(m_pressed);
    if (pressed) {
        const bool inside = target == pressed;
        if (inside != m_pressedInside) {
            if (!inside && targets.tracksAsMenu(*pressed)) {
                // A menu item lets go of a press that leaves it; the next item takes it.
                announce(stage, m_pressed, ButtonTransition::MenuDragOut, out);
                m_pressed = {};
                pressed = nullptr;
            } else {
                announce(stage, m_pressed, inside ? ButtonTransition::DragOver : ButtonTransition::DragOut, out);
                m_pressedInside = inside;
            }
            m_over = inside ? m_pressed : ObjectHandle{};
        }
    }
    if (!pressed && target && targets.tracksAsMenu(*target)) {
        m_pressed = m_over = handleOf(*target);
        m_pressedInside = true;
        announce(stage, m_pressed, ButtonTransition::MenuDragOver, out);
    }
}

PointerTracker::Transitions PointerTracker::move(Stage& stage, PointerTargets& targets, Point stagePoint)
{
    m_position = stagePoint;
    Transitions out;
    DisplayObject* target = pointerTargetAt(stage, targets, stagePoint);
    if (m_down)
        dragTo(stage, targets, target, out);
    else
        hoverTo(stage, target, out);
    return out;
}

PointerTracker::Transitions PointerTracker::press(Stage& stage, PointerTargets& targets)
{
    Transitions out = move(stage, targets, m_position);
    m_down = true;
    if (stage.find(m_over)) {
        m_pressed = m_over;
        m_pressedInside = true;
        announce(stage, m_pressed, ButtonTransition::Press, out);
    }
    return out;
}

PointerTracker::Transitions PointerTracker::release(Stage& stage, PointerTargets& targets)
{
    Transitions out;
    m_down = false;
    if (stage.find(m_pressed)) {
        if (m_pressedInside) {
            announce(stage, m_pressed, ButtonTransition::Release, out);
            m_over = m_pressed;
        } else {
            announce(stage, m_pressed, ButtonTransition::ReleaseOutside, out);
        }
    }
    m_pressed = {};
    // What lies under the pointer now may differ from what took the press.
    Transitions after = move(stage, targets, m_position);
    out.insert(out.end(), after.begin(), after.end());
    return out;
}

} // namespace flash
