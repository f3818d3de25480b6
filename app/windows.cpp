#include "app/windows.h"

#include "about/form1.h"
#include "app/main_panel.h"
#include "playback/flash_from.h"
#include "playlist/form2.h"
#include "playlist/form3.h"

#include <QCoreApplication>

namespace vf {
namespace {

WindowSession* currentSession = nullptr;

std::unique_ptr<ui::DesignWindow> createWindow(WindowName name)
{
    switch (name) {
    case WindowName::Main:
        return std::make_unique<MainPanel>();
    case WindowName::Flashfrom:
        return std::make_unique<FlashFrom>();
    case WindowName::Form2:
        return std::make_unique<Form2>();
    case WindowName::Form3:
        return std::make_unique<Form3>();
    case WindowName::Form1:
        return std::make_unique<Form1>();
    }
    return nullptr;
}

} // namespace

WindowSession::WindowSession()
    : programEnd_([](int status) { QCoreApplication::exit(status); })
{
    if (currentSession)
        qFatal("a window session is already running");
    currentSession = this;
}

WindowSession::~WindowSession()
{
    for (auto& window : windows_)
        window.reset();
    currentSession = nullptr;
}

WindowSession& WindowSession::current()
{
    if (!currentSession)
        qFatal("windows reached outside a window session");
    return *currentSession;
}

ui::DesignWindow& WindowSession::reach(WindowName name)
{
    auto& slot = windows_[static_cast<std::size_t>(name)];
    if (slot)
        return *slot;

    slot = createWindow(name);
    ui::DesignWindow* window = slot.get();
    // A window that accepts a close is deleted by Qt (WA_DeleteOnClose);
    // from then on the slot is empty and the next reach builds it anew.
    auto forget = [&slot, window] {
        if (slot.get() == window)
            std::ignore = slot.release();
    };
    QObject::connect(window, &ui::DesignWindow::unloaded, &watcher_, forget);
    QObject::connect(window, &QObject::destroyed, &watcher_, forget);
    window->Form_Load();
    return *window;
}

ui::DesignWindow* WindowSession::loaded(WindowName name) const
{
    return windows_[static_cast<std::size_t>(name)].get();
}

void WindowSession::setProgramEnd(ProgramEnd programEnd)
{
    programEnd_ = std::move(programEnd);
}

void WindowSession::endProgram(int status)
{
    programEnd_(status);
}

namespace Windows {

template <typename Window>
static Window& reachAs(WindowName name)
{
    return static_cast<Window&>(WindowSession::current().reach(name));
}

MainPanel& main() { return reachAs<MainPanel>(WindowName::Main); }
FlashFrom& flashfrom() { return reachAs<FlashFrom>(WindowName::Flashfrom); }
Form2& form2() { return reachAs<Form2>(WindowName::Form2); }
Form3& form3() { return reachAs<Form3>(WindowName::Form3); }
Form1& form1() { return reachAs<Form1>(WindowName::Form1); }

bool isLoaded(WindowName name)
{
    return WindowSession::current().loaded(name) != nullptr;
}

void end()
{
    WindowSession::current().endProgram(0);
}

} // namespace Windows
} // namespace vf
