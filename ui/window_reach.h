#pragma once
// Keeping windows within the user's reach. The dialogs have no taskbar
// button, so a dialog left minimised could never be brought back; a window
// manager may offer to minimise them all the same.

class QWidget;

namespace vf::ui {

// Restores the window at once, in its normal state, whenever something
// minimises it.
void refuseMinimise(QWidget& window);

// Shows the window, restored if it was minimised, on top of the others and
// active.
void bringForward(QWidget& window);

} // namespace vf::ui
