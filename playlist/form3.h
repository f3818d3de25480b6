#pragma once
// The folder chooser `Form3`: a fixed dialog with drive, folder and (hidden)
// file lists, two push buttons and three labels.

#include "ui/design_window.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vf {

class Form3 : public ui::DesignWindow {
    Q_OBJECT
public:
    Form3();

    QComboBox& Drive1() const;
    QListWidget& Dir1() const;
    QListWidget& File1() const;
    QPushButton& Command1() const;
    QPushButton& Command2() const;
    QLabel& Label3() const;
};

} // namespace vf
