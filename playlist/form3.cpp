#include "playlist/form3.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vf {
namespace {

template <typename Control>
Control& require(const ui::DesignWindow& window, const char* name)
{
    auto* control = window.control<Control>(QString::fromLatin1(name));
    Q_ASSERT(control);
    return *control;
}

} // namespace

Form3::Form3()
    : ui::DesignWindow(QStringLiteral("Form3"))
{
}

QComboBox& Form3::Drive1() const { return require<QComboBox>(*this, "Drive1"); }
QListWidget& Form3::Dir1() const { return require<QListWidget>(*this, "Dir1"); }
QListWidget& Form3::File1() const { return require<QListWidget>(*this, "File1"); }
QPushButton& Form3::Command1() const { return require<QPushButton>(*this, "Command1"); }
QPushButton& Form3::Command2() const { return require<QPushButton>(*this, "Command2"); }
QLabel& Form3::Label3() const { return require<QLabel>(*this, "Label3"); }

} // namespace vf
