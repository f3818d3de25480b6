#include "app/window_drag.h"

#include <QWidget>
#include <QWindow>

namespace vf {

WindowDrag::WindowDrag(QWidget& window)
    : window_(window)
{
}

bool WindowDrag::begin(QPointF globalPress)
{
    QWindow* handle = window_.windowHandle();
    if (handle && handle->startSystemMove()) {
        following_ = false;
        return true;
    }
    grabOffset_ = globalPress.toPoint() - window_.frameGeometry().topLeft();
    following_ = true;
    return false;
}

void WindowDrag::follow(QPointF globalPointer)
{
    if (following_)
        window_.move(globalPointer.toPoint() - grabOffset_);
}

} // namespace vf
