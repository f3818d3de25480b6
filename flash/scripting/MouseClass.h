// Mouse: hides and shows the pointer over the movie; its listeners hear the
// mouse button, the pointer's moves and the wheel.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

void installMouse(script::Interpreter& vm);

} // namespace flash
