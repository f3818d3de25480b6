#include "playlist/form2.h"

#include <QListWidget>

namespace vf {

Form2::Form2()
    : ui::DesignWindow(QStringLiteral("Form2"))
{
}

QListWidget& Form2::Fil() const
{
    return designControl<QListWidget>(QStringLiteral("Fil"));
}

} // namespace vf
