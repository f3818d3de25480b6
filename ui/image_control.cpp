#include "ui/image_control.h"

#include <QMouseEvent>
#include <QPainter>

namespace vf::ui {

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    // Presses and moves stop here: they never reach the window behind.
    setAttribute(Qt::WA_NoMousePropagation);
}

void ImageControl::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    if (!picture_.isNull())
        resize(picture_.deviceIndependentSize().toSize());
    update();
}

void ImageControl::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void ImageControl::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit mouseMoved(event->buttons(), event->modifiers(), event->position());
}

void ImageControl::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        leftPressed_ = true;
    emit mousePressed(event->button(), event->modifiers(), event->position());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !leftPressed_)
        return;
    leftPressed_ = false;
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    emit doubleClicked();
}

} // namespace vf::ui
