// VelquorFlash播放器: starts the control panel. The panel's load places the
// playlist and player windows; the program ends on the panel's exit button
// or a close request to the panel.

#include "app/main_panel.h"
#include "app/windows.h"
#include "ui/fonts.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    application.setFont(vf::ui::designFont());

    vf::WindowSession session;
    vf::Windows::main().show();
    return application.exec();
}
