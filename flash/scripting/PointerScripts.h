// How scripts hear the pointer: which objects take it (buttons, and clips with
// pointer handlers), what each transition runs, the mouse events every clip and
// Mouse listener hears, and a dragged clip following the pointer.
#pragma once

#include "flash/input/PointerTracker.h"
#include "flash/script/String.h"

#include <string>

namespace flash {

class ScriptRuntime;
struct ButtonDef;

enum class MouseEvent : uint8_t { Down, Up, Move };

class PointerScripts final : public PointerTargets {
public:
    explicit PointerScripts(ScriptRuntime& runtime) : m_runtime(runtime) {}

    // PointerTargets
    [[nodiscard]] bool takesPointer(const DisplayObject& object) override;
    [[nodiscard]] bool tracksAsMenu(const DisplayObject& object) override;
    [[nodiscard]] bool hits(const DisplayObject& object, Point stagePoint) override;

    // Runs what each transition asks: a button's actions for it, a clip's on()
    // handlers and its onPress, onRelease, ... methods.
    void runTransitions(const PointerTracker::Transitions& transitions);
    // mouseDown, mouseUp and mouseMove to every clip, then to Mouse's listeners.
    void mouseEvent(MouseEvent event);
    // onMouseWheel to Mouse's listeners, with the delta and what the pointer is over.
    void wheel(int delta, ObjectHandle over);
    // A dragged clip follows the pointer (stage twips), within its bounds.
    void followDrag(Point stagePoint);
    // Whether the hand shows over `object` (its useHandCursor).
    [[nodiscard]] bool showsHand(const DisplayObject& object);

private:
    void runButtonActions(ObjectHandle button, uint16_t conditionBits);
    void playButtonSound(const ButtonDef& button, ButtonTransition what, ObjectHandle owner);
    [[nodiscard]] bool isEnabled(const DisplayObject& object);
    [[nodiscard]] std::string dropTargetUnder(const DisplayObject& dragged, Point stagePoint);

    ScriptRuntime& m_runtime;
};

} // namespace flash
