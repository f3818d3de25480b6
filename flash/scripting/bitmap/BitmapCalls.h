// The methods of BitmapData.prototype, in two groups: those that work on the
// bitmap's own pixels, and those that bring pixels in from another bitmap or
// a clip. A method called on a disposed bitmap, or on anything that is not
// one, does nothing and answers undefined.
#pragma once

#include "flash/scripting/bitmap/BitmapScriptValues.h"

#include <span>

namespace flash {

[[nodiscard]] std::span<const BitmapMethod> pixelMethods();
[[nodiscard]] std::span<const BitmapMethod> transferMethods();

} // namespace flash
