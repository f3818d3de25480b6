#pragma once
// The player itself on its own Xvfb server, driven with xdotool and watched
// with xprop, optionally under a window manager. Tests skip where a tool is
// missing.

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QPoint& point, std::ostream* out) { *out << '(' << point.x() << ", " << point.y() << ')'; }

namespace vf::test {

// Waits for a condition that another process brings about. The bound only
// keeps a broken run from hanging; nothing depends on how long it takes.
bool eventually(const std::function<bool()>& condition);

class X11Session : public ::testing::Test {
public:
    // The panel's place at start-up, screen pixels.
    static constexpr QPoint kPanel{167, 450};

protected:
    void TearDown() override;

    // Starts the server, the window manager if one is named, and the player
    // in folder_. Skips the test where a tool is missing; a fatal failure
    // where something does not start.
    void start(const QString& windowManager = {});

    // Runs an X client against the test's server and returns what it printed.
    QString x(const QString& program, const QStringList& arguments) const;
    void xdotool(const QStringList& arguments) const { x(QStringLiteral("xdotool"), arguments); }

    // The one visible window with this title (a regular expression), or empty.
    QString visibleWindow(const QString& title) const;
    // Waits for such a window and returns it, or empty.
    QString waitForWindow(const QString& title) const;
    std::optional<QPoint> position(const QString& window) const;
    // The window's ICCCM state: "Normal", "Iconic", or empty when withdrawn.
    QString wmState(const QString& window) const;
    QString activeWindow() const;
    // Whether the window manager stacks `upper` above `lower`.
    bool stackedAbove(const QString& upper, const QString& lower) const;

    // Pointer actions on a spot of the panel (pixels from its corner).
    static QStringList moveTo(QPoint screen);
    void clickPanel(QPoint spot, int button = 1) const;

    QString display_;
    QProcess server_;
    QProcess windowManager_;
    QProcess player_;
    QTemporaryDir folder_;
    QString panelWindow_;
};

} // namespace vf::test
