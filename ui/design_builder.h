#pragma once
// Turns a window design into the window's child controls. Each control gets its
// design name as object name, so a window finds it with findChild.

class QWidget;

namespace vf::ui {

struct WindowDesign;

// Creates every drawn control and timer of the design on the window, in the
// design's stacking order (front first) and tab order.
void buildControls(QWidget& window, const WindowDesign& design);

} // namespace vf::ui
