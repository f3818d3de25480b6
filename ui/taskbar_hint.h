#pragma once
// Keeping a window off the taskbar. On X11 the window manager reads
// _NET_WM_STATE_SKIP_TASKBAR when the window is mapped and drops it when the
// window is withdrawn, so it has to be set again before every show.

class QWidget;

namespace vf::ui {

// Adds _NET_WM_STATE_SKIP_TASKBAR to the window's state property. Does nothing
// on platforms other than X11. The window must have its native handle.
void markSkipTaskbar(QWidget& window);

} // namespace vf::ui
