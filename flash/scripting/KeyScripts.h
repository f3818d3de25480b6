// How scripts hear the keys: the state Key reads, onClipEvent(keyDown/keyUp)
// and on(keyPress) of every clip, the key-press actions of every button, and
// Key's listeners.
#pragma once

#include "flash/input/KeyEvent.h"

namespace flash {

class ScriptRuntime;

class KeyScripts {
public:
    explicit KeyScripts(ScriptRuntime& runtime) : m_runtime(runtime) {}

    void keyEvent(const KeyEvent& event);

private:
    void updateState(const KeyEvent& event);
    void runButtonKeyPresses(uint8_t buttonCode);

    ScriptRuntime& m_runtime;
};

} // namespace flash
