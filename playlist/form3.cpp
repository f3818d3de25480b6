#include "playlist/form3.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vf {

Form3::Form3()
    : ui::DesignWindow(QStringLiteral("Form3"))
{
}

QComboBox& Form3::Drive1() const { return designControl<QComboBox>(QStringLiteral("Drive1")); }
QListWidget& Form3::Dir1() const { return designControl<QListWidget>(QStringLiteral("Dir1")); }
QListWidget& Form3::File1() const { return designControl<QListWidget>(QStringLiteral("File1")); }
QPushButton& Form3::Command1() const { return designControl<QPushButton>(QStringLiteral("Command1")); }
QPushButton& Form3::Command2() const { return designControl<QPushButton>(QStringLiteral("Command2")); }
QLabel& Form3::Label3() const { return designControl<QLabel>(QStringLiteral("Label3")); }

} // namespace vf
