#pragma once
// A fresh run of the windows for each test: a new session, the panel created
// and loaded, and a record of every program end instead of leaving.

#include "app/main_panel.h"
#include "app/windows.h"
#include "playback/modal_run.h"
#include "ui/image_control.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace vf::test {

class PanelFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        session_.emplace();
        session_->setProgramEnd([this](int status) { programEnds.push_back(status); });
        panel = &Windows::main();
    }

    void TearDown() override
    {
        session_.reset();
        flushDeletions();
    }

    // Runs the deletions that closing windows leaves queued.
    static void flushDeletions() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    ui::ImageControl& image(const char* name) const { return panel->image(QString::fromUtf8(name)); }

    MainPanel* panel = nullptr;
    std::vector<int> programEnds;

private:
    // No dialog waits for a user: each one ends at once, cancelled.
    ScopedModalRunner noDialogs_{[](QDialog&) { return int(QDialog::Rejected); }};
    std::optional<WindowSession> session_;
};

} // namespace vf::test
