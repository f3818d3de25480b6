#pragma once
// The about box `Form1`: logo, product name, version, credits, rights and
// contact lines, and the OK button that closes it.

#include "ui/design_window.h"

class QLabel;
class QPushButton;

namespace vf {

class Form1 : public ui::DesignWindow {
    Q_OBJECT
public:
    Form1();

    QPushButton& Command1() const;
    QLabel& Picture1() const;
    QLabel& Label1() const;

    void Command1_Click();
};

} // namespace vf
