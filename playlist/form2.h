#pragma once
// The playlist window `Form2`: borderless, skinned, with the file list `Fil`.

#include "ui/design_window.h"

class QListWidget;

namespace vf {

class Form2 : public ui::DesignWindow {
    Q_OBJECT
public:
    Form2();

    // The list of the playlist folder's movies; its "pattern" property holds
    // the file name pattern.
    QListWidget& Fil() const;
};

} // namespace vf
