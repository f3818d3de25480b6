#pragma once
// A run of the program over a start folder of the test's making: the test
// writes its movies, then starts the run, which makes the folder the
// program's current folder and loads the panel (and with it the playlist).

#include "movie_folder.h"

#include "app/main_panel.h"
#include "app/windows.h"
#include "playback/flash_from.h"
#include "playlist/form2.h"
#include "playlist/form3.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

#include <optional>

namespace vf::test {

class PlaylistFixture : public ::testing::Test {
protected:
    void startRun()
    {
        current_.emplace(start.path());
        session_.emplace();
        session_->setProgramEnd([](int) {});
        panel = &Windows::main();
    }

    void TearDown() override
    {
        session_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        current_.reset();
    }

    FlashComponent flash() const { return Windows::flashfrom().Flash(); }
    playlist::FileList& fil() const { return Windows::form2().filList(); }
    // A movie's full path in the start folder.
    QString startPath(const char* name) const { return start.path() + QLatin1Char('/') + QLatin1String(name); }

    MovieFolder start;
    MainPanel* panel = nullptr;

private:
    std::optional<CurrentFolder> current_;
    std::optional<WindowSession> session_;
};

} // namespace vf::test
