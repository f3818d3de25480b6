#include "app/window_drag.h"

#include "ui/system_move.h"

#include <QWidget>
#include <QWindow>

namespace vf {

WindowDrag::WindowDrag(QWidget& window)
    : window_(window)
{
}

void WindowDrag::arm(QPointF globalPress)
{
    grabOffset_ = globalPress.toPoint() - window_.frameGeometry().topLeft();
    state_ = State::Armed;
}

bool WindowDrag::start(QPointF globalPointer)
{
    if (state_ != State::Armed)
        return false;
    QWindow* handle = window_.windowHandle();
    if (handle && handle->startSystemMove()) {
        state_ = State::BySystem;
        return true;
    }
    state_ = State::Following;
    follow(globalPointer);
    return false;
}

void WindowDrag::follow(QPointF globalPointer)
{
    if (state_ == State::Following)
        window_.move(globalPointer.toPoint() - grabOffset_);
}

void WindowDrag::end()
{
    // A release that reaches the window means the window system has not
    // taken the move over yet (or has finished it): it must not start now
    // and keep the window on the pointer.
    if (state_ == State::BySystem)
        ui::cancelSystemMove(window_);
    state_ = State::Idle;
}

} // namespace vf
