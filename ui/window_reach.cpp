#include "ui/window_reach.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace vf::ui {
namespace {

// Watches one window's state; owned by that window.
class MinimiseRefusal : public QObject {
public:
    explicit MinimiseRefusal(QWidget& window)
        : QObject(&window)
        , window_(window)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The restore waits for the event loop: the window system is still
        // in the middle of the change that minimised the window.
        if (watched == &window_ && event->type() == QEvent::WindowStateChange && window_.isMinimized())
            QTimer::singleShot(0, &window_, [this] {
                if (window_.isVisible() && window_.isMinimized())
                    bringForward(window_);
            });
        return false;
    }

private:
    QWidget& window_;
};

} // namespace

void refuseMinimise(QWidget& window)
{
    new MinimiseRefusal(window);  // owned by the window
}

void bringForward(QWidget& window)
{
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace vf::ui
