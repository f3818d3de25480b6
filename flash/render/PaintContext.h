// What every drawing step of one frame shares.
#pragma once

#include "flash/model/Movie.h"

class QPainter;

namespace flash {

class RenderCache;

struct PaintContext {
    QPainter& painter;
    RenderCache& cache;
    const Movie& movie;
    bool highQuality = true;
    double stageScale = 1.0 / 20; // view pixels per stage twip, for strokes that do not scale
};

} // namespace flash
