// Letters and digits keep Qt's codes, which are their upper-case characters;
// the other keys are looked up in a table.
#include "flash/widget/KeyMapping.h"

#include "flash/input/KeyCodes.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace flash {

namespace {

constexpr std::array<std::pair<int, int>, 45> kKeys{{
    {Qt::Key_Backspace, key::Backspace}, {Qt::Key_Tab, key::Tab}, {Qt::Key_Backtab, key::Tab},
    {Qt::Key_Return, key::Enter}, {Qt::Key_Enter, key::Enter}, {Qt::Key_Shift, key::Shift},
    {Qt::Key_Control, key::Control}, {Qt::Key_Alt, key::Alt}, {Qt::Key_Pause, 19}, {Qt::Key_CapsLock, key::CapsLock},
    {Qt::Key_Escape, key::Escape}, {Qt::Key_Space, key::Space}, {Qt::Key_PageUp, key::PageUp},
    {Qt::Key_PageDown, key::PageDown}, {Qt::Key_End, key::End}, {Qt::Key_Home, key::Home}, {Qt::Key_Left, key::Left},
    {Qt::Key_Up, key::Up}, {Qt::Key_Right, key::Right}, {Qt::Key_Down, key::Down}, {Qt::Key_Insert, key::Insert},
    {Qt::Key_Delete, key::Delete}, {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186}, {Qt::Key_Equal, 187}, {Qt::Key_Plus, 187}, {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188}, {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190}, {Qt::Key_Slash, 191}, {Qt::Key_Question, 191}, {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219}, {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220}, {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
}};

// The keypad's digits and operators have codes of their own.
int keypadCode(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return 96 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: return 110;
    case Qt::Key_Slash: return 111;
    default: return 0;
    }
}

int codeOf(const QKeyEvent& event)
{
    const int qtKey = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        if (const int code = keypadCode(qtKey))
            return code;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F15)
        return 112 + (qtKey - Qt::Key_F1);
    for (const auto& [qt, code] : kKeys) {
        if (qt == qtKey)
            return code;
    }
    return 0;
}

} // namespace

KeyEvent movieKeyEvent(const QKeyEvent& event, KeyDirection direction)
{
    KeyEvent result;
    result.direction = direction;
    result.code = codeOf(event);
    const QString text = event.text();
    if (!text.isEmpty())
        result.character = text.at(0).unicode();
    return result;
}

} // namespace flash
