#pragma once
// The player window `flashfrom`: a captioned, sizable window with a taskbar
// button that hosts the playback component `Flash`.

#include "ui/design_window.h"

#include <memory>

namespace vf {

class FlashFrom : public ui::DesignWindow {
    Q_OBJECT
public:
    FlashFrom();

    // Takes the playback component into the window and places it in its
    // designed box. A component hosted before is destroyed.
    void hostComponent(std::unique_ptr<QWidget> component);

    // The hosted component, or null while there is none.
    QWidget* component() const { return component_; }

private:
    QWidget* component_ = nullptr;  // owned by this window as its child
};

} // namespace vf
