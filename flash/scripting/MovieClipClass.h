// MovieClip and Button as scripts see them: the constructors, and the methods
// of MovieClip.prototype (timeline control, script-made clips, depths, bounds
// and coordinates, the drawing API).
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

class StageHost;

void installMovieClip(script::Interpreter& vm, StageHost& host);

} // namespace flash
