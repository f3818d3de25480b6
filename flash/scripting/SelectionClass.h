// Selection: which object has the keyboard focus, giving it, and the focused
// text field's selection and caret; its listeners hear focus changes.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

void installSelection(script::Interpreter& vm);

} // namespace flash
