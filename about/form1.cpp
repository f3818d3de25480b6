#include "about/form1.h"

#include "about/fitted_label.h"
#include "ui/enter_key.h"
#include "ui/twips.h"
#include "ui/window_reach.h"

#include <QLabel>
#include <QPushButton>

namespace vf {

Form1::Form1()
    : ui::DesignWindow(QStringLiteral("Form1"))
{
    // The product name's designed box is as wide as the name was set in the
    // original face; a wider face is narrowed to that width.
    if (const ui::ControlDesign* name = design().control(u"Label1"))
        about::narrowToWidth(Label1(), ui::twipsToPixels(name->width));
    connect(&Command1(), &QPushButton::clicked, this, &Form1::Command1_Click);
    ui::pressOnEnter(Command1());
    // Without a taskbar button a minimised box could not be reached again.
    ui::refuseMinimise(*this);
}

QPushButton& Form1::Command1() const
{
    return designControl<QPushButton>(QStringLiteral("Command1"));
}

QLabel& Form1::Picture1() const
{
    return designControl<QLabel>(QStringLiteral("Picture1"));
}

QLabel& Form1::Label1() const
{
    return designControl<QLabel>(QStringLiteral("Label1"));
}

void Form1::Command1_Click()
{
    close();
}

} // namespace vf
