#pragma once
// The program's five windows, each a single instance reached by name from
// anywhere. Reaching a window that does not exist creates it, hidden and in
// its design state, and runs its load hook; closing a window destroys it, and
// the next reach creates it anew.

#include <QObject>

#include <array>
#include <functional>
#include <memory>

namespace vf {

namespace ui {
class DesignWindow;
}
class MainPanel;
class FlashFrom;
class Form2;
class Form3;
class Form1;

enum class WindowName { Main, Flashfrom, Form2, Form3, Form1 };

// Owns the windows for the length of a run (or of a test). Exactly one
// session is current at a time; Windows:: reaches through it. Ending the
// session destroys the windows still loaded without running unload hooks.
class WindowSession {
public:
    using ProgramEnd = std::function<void(int status)>;

    WindowSession();
    ~WindowSession();
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

    static WindowSession& current();

    ui::DesignWindow& reach(WindowName name);
    ui::DesignWindow* loaded(WindowName name) const;

    // What ending the program does; by default it leaves the event loop
    // with the status.
    void setProgramEnd(ProgramEnd programEnd);
    void endProgram(int status);

private:
    static constexpr std::size_t kWindowCount = 5;
    std::array<std::unique_ptr<ui::DesignWindow>, kWindowCount> windows_;
    ProgramEnd programEnd_;
    // Context of the connections that watch the windows: they end with the
    // session, also for a closed window whose deletion is still pending.
    QObject watcher_;
};

namespace Windows {

MainPanel& main();
FlashFrom& flashfrom();
Form2& form2();
Form3& form3();
Form1& form1();

// Whether the window exists now, without creating it.
bool isLoaded(WindowName name);

// Ends the program at once with status 0: no window's unload hook runs.
void end();

} // namespace Windows
} // namespace vf
