// The drawing API on MovieClip.prototype: moveTo, lineTo, curveTo, beginFill,
// beginGradientFill, lineStyle, lineGradientStyle, endFill and clear.
#pragma once

namespace flash::script {
class Interpreter;
class Object;
}

namespace flash {

void installDrawingCalls(script::Interpreter& vm, script::Object& clipPrototype);

} // namespace flash
