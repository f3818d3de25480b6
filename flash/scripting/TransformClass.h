// flash.geom.Transform: a clip's matrix and colour transform as geometry objects,
// and the same concatenated up to the stage; also what MovieClip.transform gives.
#pragma once

#include "flash/script/Value.h"

namespace flash::script {
class Interpreter;
}

namespace flash {

struct ObjectHandle;

void installTransform(script::Interpreter& vm);

// A new Transform of `clip` (the value of its `transform` property).
[[nodiscard]] script::Value transformOf(script::Interpreter& vm, const script::Value& clip);
// `clip.transform = value`: takes the matrix and colour transform the value holds,
// if the clip is still on stage once they are read.
void assignTransform(script::Interpreter& vm, ObjectHandle clip, const script::Value& value);

} // namespace flash
