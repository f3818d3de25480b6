#pragma once
// A label that keeps its designed box: the text wraps at the box's width
// (between words where it can, anywhere where it must) and whatever falls below
// the box is cut off. The text never changes the label's size.

#include <QLabel>

namespace vf::ui {

class BoxLabel : public QLabel {
    Q_OBJECT
public:
    explicit BoxLabel(QWidget* parent = nullptr);

    QSize sizeHint() const override { return size(); }
    QSize minimumSizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vf::ui
