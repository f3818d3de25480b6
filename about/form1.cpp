#include "about/form1.h"

#include <QLabel>
#include <QPushButton>

namespace vf {

Form1::Form1()
    : ui::DesignWindow(QStringLiteral("Form1"))
{
}

QPushButton& Form1::Command1() const
{
    auto* button = control<QPushButton>(QStringLiteral("Command1"));
    Q_ASSERT(button);
    return *button;
}

QLabel& Form1::Picture1() const
{
    auto* box = control<QLabel>(QStringLiteral("Picture1"));
    Q_ASSERT(box);
    return *box;
}

} // namespace vf
