#pragma once
// Pointer input for a shown window, entered through the window system
// interface: Qt routes each event to the control under the pointer (or to the
// control that holds the pointer grab) exactly as it routes real input.

#include <QTest>
#include <QWidget>
#include <QWindow>

namespace vf::test {

inline QWindow* nativeWindow(QWidget& window)
{
    window.winId();  // makes sure the native window exists
    return window.windowHandle();
}

inline void pointerMove(QWidget& window, QPoint position)
{
    QTest::mouseMove(nativeWindow(window), position);
}

inline void pointerPress(QWidget& window, Qt::MouseButton button, QPoint position)
{
    QTest::mousePress(nativeWindow(window), button, Qt::NoModifier, position);
}

inline void pointerRelease(QWidget& window, Qt::MouseButton button, QPoint position)
{
    QTest::mouseRelease(nativeWindow(window), button, Qt::NoModifier, position);
}

inline void pointerClick(QWidget& window, Qt::MouseButton button, QPoint position)
{
    pointerPress(window, button, position);
    pointerRelease(window, button, position);
}

} // namespace vf::test
