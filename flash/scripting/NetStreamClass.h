// NetConnection and NetStream: local FLV files beside the movie, played into
// Video objects and the mixer. Only connect(null) connects: nothing reaches the network.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

void installNetStream(script::Interpreter& vm);

} // namespace flash
