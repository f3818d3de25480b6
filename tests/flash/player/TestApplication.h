// One QApplication for the whole test program (the control needs widgets, drawing needs a GUI).
#pragma once

#include <QApplication>

namespace flash::test {

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "player_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QCoreApplication::instance())
        static QApplication app(argc, argv);
}

} // namespace flash::test
