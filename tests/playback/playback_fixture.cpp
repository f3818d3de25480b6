#include "playback_fixture.h"

#include "ui/image_control.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QTimer>

namespace vf::test {

void PlaybackFixture::answerDialogWith(const QString& path)
{
    answerDialog([path](QFileDialog& dialog) {
        dialog.selectFile(path);
        return int(QDialog::Accepted);
    });
}

void PlaybackFixture::answerDialogWithCancel()
{
    answerDialog([](QFileDialog&) { return int(QDialog::Rejected); });
}

void PlaybackFixture::open(const QString& path)
{
    answerDialogWith(path);
    panel->openfile_Click();
}

QString PlaybackFixture::label(int line) const
{
    switch (line) {
    case 1: return panel->Label1().text();
    case 2: return panel->Label2().text();
    case 3: return panel->Label3().text();
    case 4: return panel->Label4().text();
    }
    ADD_FAILURE() << "no label " << line;
    return {};
}

double PlaybackFixture::markerLeft() const
{
    return image("jin2").x() * ui::kTwipsPerPixel;
}

int PlaybackFixture::runDialog(QDialog& dialog)
{
    if (auto* box = qobject_cast<QMessageBox*>(&dialog))
        return runMessageBox(*box);
    if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
        if (fileDialogAnswer_)
            return fileDialogAnswer_(*files);
        ADD_FAILURE() << "the open-file dialog came without an answer";
        return QDialog::Rejected;
    }
    ADD_FAILURE() << "an unexpected dialog: " << dialog.windowTitle().toStdString();
    return QDialog::Rejected;
}

int PlaybackFixture::runMessageBox(QMessageBox& box)
{
    // The box runs its own modal loop; once it shows, the test reads it and
    // presses OK.
    QTimer::singleShot(0, &box, [this, &box] {
        messages.push_back(ShownMessage{box.windowTitle(), box.text(), box.icon(), box.buttons().size(),
                                        box.standardButtons()});
        if (QAbstractButton* ok = box.button(QMessageBox::Ok))
            ok->click();
        else
            box.reject();
    });
    return box.exec();
}

} // namespace vf::test
