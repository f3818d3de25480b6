#pragma once
// Enter and Return press a push button that has the keyboard focus, as a
// dialog's focused button does, also in windows that are not dialogs and
// without making the button a default button.

class QPushButton;

namespace vf::ui {

void pressOnEnter(QPushButton& button);

} // namespace vf::ui
