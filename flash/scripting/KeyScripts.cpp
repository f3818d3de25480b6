// The order of one key event: the state first (so every handler reads the new
// key), then Key's listeners, each clip's key events, the buttons' key presses
// and the focused clip.
#include "flash/scripting/KeyScripts.h"

#include "flash/input/ButtonTransition.h"
#include "flash/input/KeyCodes.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/ClipEventFlags.h"
#include "flash/scripting/ScriptRuntime.h"

#include <array>

namespace flash {

void KeyScripts::updateState(const KeyEvent& event)
{
    InputState& input = m_runtime.host().input();
    const bool down = event.direction == KeyDirection::Down;
    if (event.code > 0 && event.code < 256) {
        if (down && !input.keysDown.test(size_t(event.code))) {
            if (event.code == key::CapsLock)
                input.capsLock = !input.capsLock;
            else if (event.code == 144)
                input.numLock = !input.numLock;
            else if (event.code == 145)
                input.scrollLock = !input.scrollLock;
        }
        input.keysDown.set(size_t(event.code), down);
    }
    if (down) {
        input.lastCode = event.code;
        input.lastCharacter = event.character;
    }
}

void KeyScripts::runButtonKeyPresses(uint8_t buttonCode)
{
    Stage& stage = m_runtime.host().stage();
    for (ObjectHandle handle : stage.objectsInOrder(Stage::ObjectKind::Buttons)) {
        const DisplayObject* button = stage.find(handle);
        const auto* def = button ? std::get_if<std::shared_ptr<const ButtonDef>>(&button->character) : nullptr;
        if (!def || !*def || !button->parent)
            continue;
        const std::shared_ptr<const ButtonDef> keep = *def;
        const ObjectHandle timeline = handleOf(*button->parent);
        for (const ButtonCondAction& action : keep->actions) {
            if (conditionKey(action.conditions) == buttonCode)
                m_runtime.runActions(action.actions, timeline);
        }
    }
}

void KeyScripts::keyEvent(const KeyEvent& event)
{
    updateState(event);
    const bool down = event.direction == KeyDirection::Down;
    // The focused field or button takes the key first; everything else hears it all the same.
    if (down)
        (void)m_runtime.focus().keyDown(event, m_runtime.host().input().keysDown.test(key::Shift));
    // Listeners hear at once; the clips' events and the buttons' key presses come after, as they are queued.
    static const script::String kKeyDown("onKeyDown"), kKeyUp("onKeyUp");
    const script::String& handler = down ? kKeyDown : kKeyUp;
    script::Interpreter& vm = m_runtime.vm();
    const std::array<script::Value, 1> message{script::Value(handler)};
    vm.callMethod(vm.getMember(script::Value(vm.global()), "Key"), "broadcastMessage", message);
    const uint8_t buttonCode = down ? key::buttonKeyCode(event.code, event.character) : 0;
    Stage& stage = m_runtime.host().stage();
    for (ObjectHandle handle : stage.objectsInOrder(Stage::ObjectKind::Clips)) {
        m_runtime.runClipActions(handle, down ? ClipEventFlag::KeyDown : ClipEventFlag::KeyUp);
        if (buttonCode)
            m_runtime.runClipActions(handle, ClipEventFlag::KeyPress, buttonCode);
    }
    if (buttonCode)
        runButtonKeyPresses(buttonCode);
    // A clip or button with the focus hears its keys too.
    if (const DisplayObject* focused = m_runtime.focus().focused(); focused && !focused->editText)
        m_runtime.callDefinedHandler(handleOf(*focused), handler);
}

} // namespace flash
