// What every drawing step of one frame shares.
#pragma once

#include "flash/model/Movie.h"

class QPainter;

namespace flash {

class DirectFill;
class RenderCache;

struct PaintContext {
    QPainter& painter;
    RenderCache& cache;
    const Movie& movie;
    bool highQuality = true;
    double stageScale = 1.0 / 20; // view pixels per stage twip, for strokes that do not scale
    Matrix stageToView;           // the stage's twips to this painter's pixels (masks set by scripts)
    // Placements left to visit in this frame: buttons and sprites that contain
    // themselves or each other many times over stop here instead of running away.
    size_t* visitBudget = nullptr;
    // Solid fills go straight into the picture through this when it is set (see DirectFill).
    DirectFill* direct = nullptr;

    // Takes one visit from the budget; false once it is spent.
    [[nodiscard]] bool takeVisit() const
    {
        if (!visitBudget)
            return true;
        if (*visitBudget == 0)
            return false;
        --*visitBudget;
        return true;
    }
};

// Placements one frame may visit (drawing, bounds and masks together).
inline constexpr size_t kVisitsPerFrame = 200'000;

} // namespace flash
