#pragma once
// Moves a borderless window with the pointer while the left button is held.
// The window system's interactive move is asked first; where it refuses (for
// example with no window manager running) the window follows the pointer
// events it receives until the button is released.

#include <QPoint>
#include <QPointF>

class QWidget;

namespace vf {

class WindowDrag {
public:
    explicit WindowDrag(QWidget& window);

    // Starts a move for a press at the given screen position. Returns true
    // if the window system took the move over.
    bool begin(QPointF globalPress);

    // Whether this object moves the window itself right now.
    bool following() const { return following_; }
    void follow(QPointF globalPointer);
    void end() { following_ = false; }

private:
    QWidget& window_;
    QPoint grabOffset_;  // pointer position relative to the window's corner
    bool following_ = false;
};

} // namespace vf
