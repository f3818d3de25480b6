// A blocky capital-letter font for the demonstration titles, drawn on a 5 x 7 grid.
#pragma once

#include "FontBuilder.h"

namespace demo {

// Capitals A-Z, digits are not needed; space included.
[[nodiscard]] swfw::FontBuilder blockFont();

} // namespace demo
