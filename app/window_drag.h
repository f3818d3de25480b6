#pragma once
// Moves a borderless window with the pointer while the left button is held.
// A press only arms the move: it starts when the pointer moves with the
// button still down, so a click that is released at once (a touchpad tap
// sends both together) leaves the window where it is instead of handing the
// window manager a move whose release it has already missed. The window
// system's interactive move is asked first; where it refuses (for example
// with no window manager running) the window follows the pointer events it
// receives until the button is released.

#include <QPoint>
#include <QPointF>

class QWidget;

namespace vf {

class WindowDrag {
public:
    explicit WindowDrag(QWidget& window);

    // A left press at the given screen position.
    void arm(QPointF globalPress);
    // Whether a press waits for the pointer to move.
    bool armed() const { return state_ == State::Armed; }
    // Starts the armed move with the pointer at the given screen position.
    // Returns true if the window system took the move over.
    bool start(QPointF globalPointer);

    // Whether this object moves the window itself right now.
    bool following() const { return state_ == State::Following; }
    void follow(QPointF globalPointer);
    // The left button was released.
    void end();

private:
    enum class State { Idle, Armed, Following, BySystem };

    QWidget& window_;
    QPoint grabOffset_;  // pointer position relative to the window's corner
    State state_ = State::Idle;
};

} // namespace vf
