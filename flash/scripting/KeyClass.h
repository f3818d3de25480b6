// Key: which keys are down, the last key pressed, the key constants, and the
// listeners told of each key going down and up.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {


void installKey(script::Interpreter& vm);

} // namespace flash
