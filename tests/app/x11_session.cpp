#include "x11_session.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace vf::test {

bool eventually(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20'000) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

void X11Session::start(const QString& windowManager)
{
    QStringList tools{QStringLiteral("Xvfb"), QStringLiteral("xdotool"), QStringLiteral("xprop")};
    if (!windowManager.isEmpty())
        tools << windowManager;
    for (const QString& tool : tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed";
    }
    // The server picks a free display itself and reports its number.
    server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                           QStringLiteral("0"), QStringLiteral("1024x768x24"),
                                           QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    ASSERT_TRUE(server_.waitForStarted());
    QByteArray reported;
    ASSERT_TRUE(eventually([&] {
        server_.waitForReadyRead(100);
        reported += server_.readAllStandardOutput();
        return reported.contains('\n');
    }));
    display_ = QStringLiteral(":") + QString::fromLatin1(reported.trimmed());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    if (!windowManager.isEmpty()) {
        windowManager_.setProcessEnvironment(environment);
        windowManager_.start(windowManager, {});
        ASSERT_TRUE(windowManager_.waitForStarted());
        // The player asks at start-up what the window manager supports.
        ASSERT_TRUE(eventually([this] {
            return x(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QStringLiteral("window id"));
        }));
    }

    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    player_.setProcessEnvironment(environment);
    player_.setWorkingDirectory(folder_.path());
    player_.start(QStringLiteral(VF_PLAYER_PATH), {});
    ASSERT_TRUE(player_.waitForStarted());
    panelWindow_ = waitForWindow(QStringLiteral("^VelquorFlash播放器 V1\\.2$"));
    ASSERT_FALSE(panelWindow_.isEmpty()) << "the panel did not show";
}

void X11Session::TearDown()
{
    for (QProcess* process : {&player_, &windowManager_, &server_}) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
    }
}

QString X11Session::x(const QString& program, const QStringList& arguments) const
{
    QProcess client;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    client.setProcessEnvironment(environment);
    client.start(program, arguments);
    client.waitForFinished();
    return QString::fromUtf8(client.readAllStandardOutput());
}

QString X11Session::visibleWindow(const QString& title) const
{
    const QString found = x(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                        QStringLiteral("--name"), title})
                              .trimmed();
    return found.contains(u'\n') ? QString() : found;
}

QString X11Session::waitForWindow(const QString& title) const
{
    QString window;
    eventually([&] {
        window = visibleWindow(title);
        return !window.isEmpty();
    });
    return window;
}

std::optional<QPoint> X11Session::position(const QString& window) const
{
    const QString geometry = x(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), window});
    const auto match = QRegularExpression(QStringLiteral("Position: (-?\\d+),(-?\\d+)")).match(geometry);
    if (!match.hasMatch())
        return std::nullopt;
    return QPoint(match.captured(1).toInt(), match.captured(2).toInt());
}

QString X11Session::wmState(const QString& window) const
{
    const QString state = x(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("WM_STATE")});
    return QRegularExpression(QStringLiteral("window state: (\\w+)")).match(state).captured(1);
}

QString X11Session::activeWindow() const
{
    return x(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed();
}

bool X11Session::stackedAbove(const QString& upper, const QString& lower) const
{
    // Bottom to top, as hexadecimal ids.
    const QString stacking =
        x(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    const auto place = [&](const QString& window) {
        return stacking.indexOf(QStringLiteral("0x") + QString::number(window.toULongLong(), 16));
    };
    return place(lower) >= 0 && place(upper) > place(lower);
}

QStringList X11Session::moveTo(QPoint screen)
{
    return {QStringLiteral("mousemove"), QString::number(screen.x()), QString::number(screen.y())};
}

void X11Session::clickPanel(QPoint spot, int button) const
{
    xdotool(moveTo(kPanel + spot) << QStringLiteral("click") << QString::number(button));
}

} // namespace vf::test
