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
    return designControl<QPushButton>(QStringLiteral("Command1"));
}

QLabel& Form1::Picture1() const
{
    return designControl<QLabel>(QStringLiteral("Picture1"));
}

} // namespace vf
