#pragma once
// The designs ask for 宋体 (SimSun). On Linux it is drawn with a Song face of
// GB2312 coverage, without anti-aliasing, so it reads like the 12-pixel
// bitmap strokes it replaces.

#include <QFont>

namespace vf::ui {

inline constexpr double kDefaultFontPoints = 9.0;

// Registers the face substitutions; safe to call more than once.
void installDesignFontSubstitutions();

// 宋体 at the given point size, regular, not anti-aliased, sized in pixels at
// 96 dots per inch so that it does not depend on the screen's resolution.
QFont designFont(double points = kDefaultFontPoints);

} // namespace vf::ui
