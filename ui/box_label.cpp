#include "ui/box_label.h"

#include <QPainter>
#include <QTextOption>

namespace vf::ui {

BoxLabel::BoxLabel(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
}

void BoxLabel::paintEvent(QPaintEvent*)
{
    // The opaque background comes from autoFillBackground.
    QPainter painter(this);
    painter.setClipRect(rect());
    painter.setPen(palette().color(QPalette::WindowText));
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(QRectF(rect()), text(), option);
}

} // namespace vf::ui
