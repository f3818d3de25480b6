#pragma once
// The panel's transport commands: play, stop and the four stepping buttons.

#include <QtGlobal>

class QWidget;

namespace vf {

class MainPanel;

// Frames the stepping buttons move by.
inline constexpr qint32 kStepBack = -30;
inline constexpr qint32 kStepForward = 30;
inline constexpr qint32 kFastBack = -100;
inline constexpr qint32 kFastForward = 100;

// Sets the loaded movie running in the player window at its playing place;
// with no movie loaded it only says so in a message box.
void playMovie(MainPanel& main);
// Halts the movie where it is and stops the progress monitor.
void stopMovie(MainPanel& main);
// Jumps by the offset from the current frame and sets the movie running.
void stepMovie(MainPanel& main, qint32 offset);

// The frame a step asks for: the current frame plus the offset in 32-bit
// arithmetic, not limited to the movie's frames.
qint32 stepTarget(qint32 currentFrame, qint32 offset);

// The message box of play with no movie, modal to the parent.
void showNoMovieMessage(QWidget* parent);

} // namespace vf
