// flashtool: info, render and bench over one movie file.
#include "Commands.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    // Rendering needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const flashtool::CommandLine line = flashtool::parseCommandLine(QCoreApplication::arguments());
    if (!line.error.isEmpty()) {
        flashtool::printError(line.error);
        return 2;
    }
    if (line.command == QLatin1String("info"))
        return flashtool::runInfo(line);
    if (line.command == QLatin1String("render"))
        return flashtool::runRender(line);
    if (line.command == QLatin1String("bench"))
        return flashtool::runBench(line);
    flashtool::printError(QStringLiteral("unknown command: ") + line.command);
    return 2;
}
