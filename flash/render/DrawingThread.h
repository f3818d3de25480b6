// Where a frame is drawn.
#pragma once

#include <functional>

class QPainter;

namespace flash {

// Runs `draw` with `painter` on one of the threads of Qt's global pool and
// waits for it, when the painter draws into a picture in memory (a window
// may only be painted from the thread that owns it).
//
// Qt's raster engine splits a fill of many rows over that pool's threads
// unless it already runs on one of them. A frame holds hundreds of fills, and
// waking the threads for each costs far more than it saves on a machine with
// few cores: a movie full of gradients took 18 ms a frame that way, 7 ms
// this way, in processor time and in time to the frame alike.
// Small drawings (a few rows) and, when no thread of the pool is free, all
// others are drawn here.
// An exception `draw` throws reaches the caller.
void drawOnDrawingThread(const QPainter& painter, const std::function<void()>& draw);

} // namespace flash
