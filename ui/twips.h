#pragma once
// Window designs measure in twips; the screen is taken at 96 dots per inch.

#include <QtGlobal>

namespace vf::ui {

inline constexpr double kTwipsPerPixel = 15.0;

// Converts a twip measure to whole pixels the way Qt rounds positions.
constexpr int twipsToPixels(double twips)
{
    return qRound(twips / kTwipsPerPixel);
}

// Point sizes of the design fonts turned into pixel sizes at 96 dots per inch.
constexpr int pointsToPixels(double points)
{
    return qRound(points * 96.0 / 72.0);
}

} // namespace vf::ui
