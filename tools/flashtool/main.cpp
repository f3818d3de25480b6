// flashtool: info, render, bench, run and actions over one movie file.
#include "Commands.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {

// Drawing needs a GUI application but no screen; keep its start-up quiet on headless machines.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv, bool draws)
{
    if (!draws)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/runtime-") + QString::number(getuid());
        if (QDir().mkpath(runtime)) {
            QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        }
    }
    return std::make_unique<QGuiApplication>(argc, argv);
}

int runCommand(const flashtool::CommandLine& line)
{
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
    if (line.command == QLatin1String("run"))
        return flashtool::runRun(line);
    if (line.command == QLatin1String("actions"))
        return flashtool::runActions(line);
    if (line.command == QLatin1String("audio"))
        return flashtool::runAudio(line);
    flashtool::printError(QStringLiteral("unknown command: ") + line.command);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const bool draws = argc > 1 && qstrcmp(argv[1], "info") != 0 && qstrcmp(argv[1], "actions") != 0;
    const auto app = makeApplication(argc, argv, draws);
    const int status = runCommand(flashtool::parseCommandLine(QCoreApplication::arguments()));
#if !defined(__SANITIZE_ADDRESS__)
    // Every command has finished its work and closed its files by now. Tearing
    // the application down would only cost time: the platform's font database
    // reads all of fontconfig's configuration when it is destroyed, even in a
    // run that drew no text (tens of milliseconds). Sanitizer builds go the
    // long way round, for the leak check at exit.
    std::fflush(nullptr);
    std::_Exit(status);
#endif
    return status;
}
