#pragma once
// The three button tiles the symbols are drawn on.

#include <QImage>

namespace skinpaint {

// Near-white top rows, a mid-blue to near-white gradient, a saturated blue
// band of two rows at the bottom.
QImage lightTile(int width, int height);

// The light tile turned upright, its blue band down the left side.
QImage uprightLightTile(int width, int height);

// A thin blue rim at the top over a black to saturated blue gradient.
QImage darkTile(int width, int height);

// The light tile with saturated blue edges down both sides as well.
QImage playTile(int width, int height);

} // namespace skinpaint
