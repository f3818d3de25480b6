#pragma once
// Pointer events in the form the panel's handlers take them: Button and Shift
// as bit sets (left 1, right 2, middle 4; shift 1, ctrl 2, alt 4) and the
// position in twips within the control.

#include "ui/twips.h"

#include <QMouseEvent>

namespace vf {

struct MouseArguments {
    short Button = 0;
    short Shift = 0;
    float X = 0;
    float Y = 0;
};

inline short buttonBits(Qt::MouseButtons buttons)
{
    short bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= 1;
    if (buttons & Qt::RightButton)
        bits |= 2;
    if (buttons & Qt::MiddleButton)
        bits |= 4;
    return bits;
}

inline short shiftBits(Qt::KeyboardModifiers modifiers)
{
    short bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= 1;
    if (modifiers & Qt::ControlModifier)
        bits |= 2;
    if (modifiers & Qt::AltModifier)
        bits |= 4;
    return bits;
}

// For a press the button that went down; for a move the buttons held.
inline MouseArguments mouseArguments(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position)
{
    return {buttonBits(buttons), shiftBits(modifiers),
            static_cast<float>(position.x() * ui::kTwipsPerPixel),
            static_cast<float>(position.y() * ui::kTwipsPerPixel)};
}

} // namespace vf
