// Code built for AVX (Qt's drawing and filling) can return with the upper
// halves of the vector registers in use. SSE instructions then run several
// times slower (measured: a blur 3.5 times) until those halves are cleared.
#pragma once

namespace flash {

// Clears the upper halves on processors that have them; costs next to nothing.
void clearUpperVectorState();

} // namespace flash
