#pragma once
// Moving windows by screen positions in twips.

#include "ui/twips.h"

#include <QWidget>

namespace vf::ui {

// Moves a window's outer top-left corner to the given screen position in
// twips, keeping its size.
inline void moveInTwips(QWidget& window, double leftTwips, double topTwips)
{
    window.move(qRound(leftTwips / kTwipsPerPixel), qRound(topTwips / kTwipsPerPixel));
}

// A window's inner width in twips, the scale width of its designs.
inline double scaleWidthInTwips(const QWidget& window)
{
    return window.width() * kTwipsPerPixel;
}

} // namespace vf::ui
