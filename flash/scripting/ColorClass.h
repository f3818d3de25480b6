// Color: a clip's colour transform as setRGB, getRGB, setTransform and getTransform see it.
#pragma once

namespace flash::script {
class Interpreter;
}

namespace flash {

void installColor(script::Interpreter& vm);

} // namespace flash
