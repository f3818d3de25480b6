// The keyboard focus: which object has it (Selection.getFocus), what a press
// on a text field or Tab gives it, and a focused field's caret, selection and
// editing as the user types, with onSetFocus, onKillFocus and onChanged.
#pragma once

#include "flash/input/KeyEvent.h"
#include "flash/model/Geometry.h"

#include <string>
#include <string_view>

namespace flash {

class ScriptRuntime;
struct DisplayObject;

enum class FocusBy : uint8_t { Script, Pointer, Keyboard };

class FocusScripts {
public:
    explicit FocusScripts(ScriptRuntime& runtime) : m_runtime(runtime) {}

    [[nodiscard]] DisplayObject* focused();
    // Gives `object` the focus (null: nothing has it); the old and the new
    // focus and Selection's listeners hear of it. False when it cannot take it.
    bool setFocus(DisplayObject* object, FocusBy by);
    // Whether `object` can hold the focus (text fields, buttons, clips that take the pointer).
    [[nodiscard]] bool canFocus(const DisplayObject& object);

    // The pointer went down on `target` (null: on nothing that takes it): a
    // text field takes the focus and the caret; anything else drops it.
    void pointerPressed(DisplayObject* target, Point stagePoint);
    // The pointer moved with its button held: a press on a field selects.
    void pointerDragged(Point stagePoint);
    void pointerReleased() { m_selecting = false; }

    // A key for the focused object: editing and caret keys for fields, Tab
    // between objects, Enter and Space press a focused button. True when used.
    bool keyDown(const KeyEvent& event, bool shift);
    // Text for the focused input field (typing, input methods, pasting).
    void typeText(std::u32string_view text);
    // The focused field's selection, as the clipboard takes it; empty when none.
    [[nodiscard]] std::u32string selectedText();
    void deleteSelection();
    void selectAll();
    // Whether typing goes to a focused input field now.
    [[nodiscard]] bool acceptsText();

private:
    void moveFocus(bool backwards);
    void pressFocusedButton();
    void edited(DisplayObject& field);
    [[nodiscard]] Point fieldPoint(const DisplayObject& field, Point stagePoint) const;

    ScriptRuntime& m_runtime;
    bool m_selecting = false; // the pointer went down on the focused field and is held
};

} // namespace flash
