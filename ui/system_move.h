#pragma once
// Ending a window move that the window manager was asked to run
// (_NET_WM_MOVERESIZE) but may not have begun yet. When the button release
// reaches the window before the window manager has grabbed the pointer, the
// window manager never sees it and would keep the window on the pointer.

class QWidget;

namespace vf::ui {

// Asks the window manager to cancel its move of the window, if it runs one.
// Does nothing on platforms other than X11.
void cancelSystemMove(QWidget& window);

} // namespace vf::ui
