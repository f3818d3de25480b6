#pragma once
// An image control: shows a picture unscaled from its top-left corner and
// always takes the picture's size. Without a picture it draws nothing.

#include <QPixmap>
#include <QPointF>
#include <QWidget>

namespace vf::ui {

class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    // Shows the given picture (shared, not copied) and takes its size,
    // keeping the left and top edges.
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

signals:
    // Pointer events on the image, with the button that changed, the buttons
    // held, the modifiers and the position within the image.
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position);
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
    bool leftPressed_ = false;
};

} // namespace vf::ui
