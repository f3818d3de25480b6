// Stage: the movie's size, how it fits the view (scaleMode, align), showMenu,
// and the listeners told when the view is resized under noScale.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

void installStage(script::Interpreter& vm);

// Tells Stage's listeners that the view changed size (only under noScale, as the reference runtime does).
void broadcastResize(script::Interpreter& vm);

} // namespace flash
