// The player on a real X server with no window manager: the panel is mapped
// at its place without a taskbar entry, a right-button drag leaves it where it
// is, a left-button drag moves it, and the exit button ends the process with
// status 0. Skipped where Xvfb, xdotool or xprop are missing.

#include <QElapsedTimer>
#include <QPoint>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace vf::test {
namespace {

// Waits for a condition that another process brings about. The bound only
// keeps a broken run from hanging; nothing depends on how long it takes.
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

class X11Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "xprop"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        }
        // The server picks a free display itself and reports its number.
        server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                               QStringLiteral("-screen"), QStringLiteral("0"),
                                               QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                               QStringLiteral("tcp")});
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
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        player_.setProcessEnvironment(environment);
        player_.setWorkingDirectory(folder_.path());
        player_.start(QStringLiteral(VF_PLAYER_PATH), {});
        ASSERT_TRUE(player_.waitForStarted());
        ASSERT_TRUE(eventually([this] {
            panelWindow_ = x(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                         QStringLiteral("--name"),
                                                         QStringLiteral("^VelquorFlash播放器 V1\\.2$")})
                               .trimmed();
            return !panelWindow_.isEmpty() && !panelWindow_.contains(u'\n');
        }));
    }

    void TearDown() override
    {
        if (player_.state() != QProcess::NotRunning) {
            player_.kill();
            player_.waitForFinished();
        }
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            server_.waitForFinished();
        }
    }

    // Runs an X client against the test's server and returns what it printed.
    QString x(const QString& program, const QStringList& arguments) const
    {
        QProcess client;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display_);
        client.setProcessEnvironment(environment);
        client.start(program, arguments);
        client.waitForFinished();
        return QString::fromUtf8(client.readAllStandardOutput());
    }

    void pointer(const QStringList& actions) const { x(QStringLiteral("xdotool"), actions); }

    std::optional<QPoint> panelPosition() const
    {
        const QString geometry = x(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), panelWindow_});
        const auto match = QRegularExpression(QStringLiteral("Position: (-?\\d+),(-?\\d+)")).match(geometry);
        if (!match.hasMatch())
            return std::nullopt;
        return QPoint(match.captured(1).toInt(), match.captured(2).toInt());
    }

    static QStringList moveTo(QPoint screen)
    {
        return {QStringLiteral("mousemove"), QString::number(screen.x()), QString::number(screen.y())};
    }

    QString display_;
    QProcess server_;
    QProcess player_;
    QTemporaryDir folder_;
    QString panelWindow_;
};

TEST_F(X11Session, PanelIsMappedAtItsPlaceWithoutATaskbarEntry)
{
    EXPECT_EQ(panelPosition(), QPoint(167, 450));
    const QString state = x(QStringLiteral("xprop"), {QStringLiteral("-id"), panelWindow_,
                                                      QStringLiteral("_NET_WM_STATE")});
    EXPECT_TRUE(state.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR"))) << state.toStdString();
}

TEST_F(X11Session, OnlyALeftDragOnTheBackgroundMovesThePanel)
{
    const QPoint panel(167, 450);
    const QPoint background = panel + QPoint(100, 100);
    QStringList rightDrag = moveTo(background);
    rightDrag << QStringLiteral("mousedown") << QStringLiteral("3");
    rightDrag << moveTo(background + QPoint(40, 30)) << QStringLiteral("mouseup") << QStringLiteral("3");
    pointer(rightDrag);

    QStringList leftDrag = moveTo(background);
    leftDrag << QStringLiteral("mousedown") << QStringLiteral("1");
    leftDrag << moveTo(background + QPoint(20, 10)) << moveTo(background + QPoint(60, -50));
    leftDrag << QStringLiteral("mouseup") << QStringLiteral("1");
    pointer(leftDrag);

    // Had the right button moved the panel, it would not end exactly here.
    EXPECT_TRUE(eventually([&] { return panelPosition() == panel + QPoint(60, -50); }))
        << "panel at " << panelPosition().value_or(QPoint()).x() << "," << panelPosition().value_or(QPoint()).y();
}

TEST_F(X11Session, ExitButtonEndsTheProcessWithStatusZero)
{
    QStringList click = moveTo(QPoint(167 + 385, 450 + 9));
    click << QStringLiteral("click") << QStringLiteral("1");
    pointer(click);
    ASSERT_TRUE(player_.waitForFinished());
    EXPECT_EQ(player_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player_.exitCode(), 0);
}

} // namespace
} // namespace vf::test
