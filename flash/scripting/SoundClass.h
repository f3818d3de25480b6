// Sound: a script's sounds on a target clip (attachSound by linkage name,
// start with an offset and loops, stop), their volume, pan and transform,
// position, duration and onSoundComplete.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

void installSound(script::Interpreter& vm);

} // namespace flash
