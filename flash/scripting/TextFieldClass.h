// TextField as scripts see it: TextField.prototype's methods (formats,
// replacing text, listeners, depths), TextField.getFontList, TextField.StyleSheet,
// TextFormat, and MovieClip.prototype.createTextField.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

class StageHost;

// After MovieClip is installed (createTextField joins its prototype).
void installTextField(script::Interpreter& vm, StageHost& host);

} // namespace flash
