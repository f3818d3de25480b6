// Qt's keys as movies know them: the key codes Key.getCode gives.
#pragma once

#include "flash/input/KeyEvent.h"

class QKeyEvent;

namespace flash {

// The movie's view of a key event; code 0 for keys movies have no code for.
[[nodiscard]] KeyEvent movieKeyEvent(const QKeyEvent& event, KeyDirection direction);

} // namespace flash
