#pragma once
// A fresh run of the windows per test, with movies written for it, the
// open-file dialog answered by the test and every message box recorded and
// closed by its OK button.

#include "test_movies.h"

#include "app/main_panel.h"
#include "playback/flash_component.h"
#include "flash/widget/FlashWidget.h"
#include "playback/flash_from.h"
#include "playback/modal_run.h"
#include "tests/app/panel_fixture.h"

#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QTest>

#include <functional>
#include <vector>

class QFileDialog;

namespace vf::test {

// What a message box showed before the test closed it.
struct ShownMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttonCount = 0;
    QMessageBox::StandardButtons standardButtons;
};

class PlaybackFixture : public PanelFixture {
protected:
    using FileDialogAnswer = std::function<int(QFileDialog&)>;

    FlashFrom& player() const { return Windows::flashfrom(); }
    FlashComponent flash() const { return Windows::flashfrom().Flash(); }

    // The open-file dialog chooses the path from now on.
    void answerDialogWith(const QString& path);
    // The open-file dialog is cancelled from now on.
    void answerDialogWithCancel();
    // The open-file dialog runs the given answer from now on.
    void answerDialog(FileDialogAnswer answer) { fileDialogAnswer_ = std::move(answer); }
    // Opens the movie through the panel's open-file command.
    void open(const QString& path);

    // Puts the movie at the frame; no events run before the test looks, so
    // the movie cannot move on in between.
    // Goes to `frame` and lets the frame's scripts run, as they do once the caller's handler returns.
    void showFrame(qint32 frame)
    {
        flash().GotoFrame(frame);
        flash().widget().player().settle();
    }

    QString label(int line) const;
    // The marker's left edge in twips.
    double markerLeft() const;

    TestMovies movies;
    // Message boxes shown so far, in order; each was shown modal and closed
    // with its OK button.
    std::vector<ShownMessage> messages;

private:
    int runDialog(QDialog& dialog);
    int runMessageBox(QMessageBox& box);

    FileDialogAnswer fileDialogAnswer_;
    ScopedModalRunner dialogs_{[this](QDialog& dialog) { return runDialog(dialog); }};
};

} // namespace vf::test
