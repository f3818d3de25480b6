#pragma once
// The player window `flashfrom`: a captioned, sizable window with a taskbar
// button that hosts the playback component `Flash`. It keeps the component
// filling its inner area, and closing it stops and unloads the movie and
// resets the panel's lines.

#include "playback/flash_component.h"
#include "ui/design_window.h"

#include <QPointer>

#include <memory>

namespace flash {
class FlashWidget;
}

namespace vf {

class FlashFrom : public ui::DesignWindow {
    Q_OBJECT
public:
    // Where the commands that start a movie put the window, screen twips.
    static constexpr double kPlayingLeft = 1500;
    static constexpr double kPlayingTop = 0;

    // Creates the window with the engine's widget hosted as `Flash`, with no
    // movie loaded.
    FlashFrom();

    // The playback component.
    FlashComponent Flash() const;

    // Takes a playback component into the window and places it in its
    // designed box. A component hosted before is destroyed.
    void hostComponent(std::unique_ptr<QWidget> component);

    // The hosted component widget, or null while there is none.
    QWidget* component() const { return component_; }

    // Moves the window's outer top-left corner to a screen place in twips,
    // keeping its size. A minimised or maximised window refuses the move and
    // keeps its place; the result tells whether the window moved.
    bool Move(double leftTwips, double topTwips);

    // Fits the component to the inner area.
    void Form_Resize();
    // Closing: the panel shows the stopped status, its progress monitor
    // stops and its file and progress lines empty; then the movie is stopped
    // and unloaded. The close always goes on.
    void Form_Unload(int& cancel) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* component_ = nullptr;  // owned by this window as its child
    QPointer<flash::FlashWidget> flash_;
};

} // namespace vf
