// Puts an object drawn into its own layer back onto the picture below with a blend mode.
#pragma once

#include "flash/model/DisplayTags.h"

#include <QImage>
#include <QPoint>

class QPainter;

namespace flash {

// Composites `layer` (premultiplied) at `topLeft` in device pixels, with
// `opacity`. `parentIsLayer` tells whether the picture below is a blending
// layer: the alpha and erase modes act on that layer's transparency and
// change nothing elsewhere.
void compositeLayer(QPainter& painter, const QImage& layer, QPoint topLeft, BlendMode mode,
                    double opacity, bool parentIsLayer);

} // namespace flash
