// Opening a single movie: the dialog, its memory, cancel, and the steps that
// start the movie in the player window.

#include "playback_fixture.h"

#include "playback/open_file_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

namespace vf::test {
namespace {

using OpenFile = PlaybackFixture;

TEST_F(OpenFile, ChosenMoviePlaysInThePlayerWindowAtTheTopOfTheScreen)
{
    const QString path = movies.write(QStringLiteral("opened"), 100);
    open(path);

    EXPECT_EQ(flash().Movie(), path);
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(label(1), QStringLiteral("正在播放：") + path);
    EXPECT_EQ(label(2), QStringLiteral("正常播放中"));
    EXPECT_EQ(label(3), QString());
    EXPECT_TRUE(panel->Time().isActive());
    EXPECT_TRUE(player().isVisible());
    EXPECT_EQ(player().pos(), QPoint(100, 0));
}

TEST_F(OpenFile, DialogOffersOneFlashFilterInQtsOwnDialog)
{
    QStringList filters;
    bool nonNative = false;
    bool namesOnly = false;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    answerDialog([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        nonNative = dialog.testOption(QFileDialog::DontUseNativeDialog);
        namesOnly = dialog.testOption(QFileDialog::HideNameFilterDetails);
        mode = dialog.acceptMode();
        return int(QDialog::Rejected);
    });
    panel->openfile_Click();
    EXPECT_EQ(filters, QStringList{QStringLiteral("Flash播放文件 (*.swf)")});
    EXPECT_TRUE(nonNative);
    EXPECT_TRUE(namesOnly);
    EXPECT_EQ(mode, QFileDialog::AcceptOpen);
}

TEST_F(OpenFile, FilterPairsBecomeQtNameFilters)
{
    EXPECT_EQ(nameFiltersFromPairs(QStringLiteral("Flash播放文件|*.swf|")),
              QStringList{QStringLiteral("Flash播放文件 (*.swf)")});
    EXPECT_EQ(nameFiltersFromPairs(QStringLiteral("A|*.a|B|*.b")),
              (QStringList{QStringLiteral("A (*.a)"), QStringLiteral("B (*.b)")}));
    EXPECT_TRUE(nameFiltersFromPairs(QString()).isEmpty());
}

TEST_F(OpenFile, DialogRemembersTheLastFolderAndFileWithinTheRun)
{
    const QString path = movies.write(QStringLiteral("remembered"), 10);
    open(path);

    QString folder;
    QString typed;
    answerDialog([&](QFileDialog& dialog) {
        folder = dialog.directory().absolutePath();
        typed = dialog.selectedFiles().value(0);
        return int(QDialog::Rejected);
    });
    panel->openfile_Click();
    EXPECT_EQ(folder, QFileInfo(path).absolutePath());
    EXPECT_EQ(typed, path);
    EXPECT_EQ(panel->cd().FileName(), path);
}

TEST_F(OpenFile, CancelWhilePlayingChangesNothing)
{
    const QString path = movies.write(QStringLiteral("kept"), 100);
    open(path);
    showFrame(42);
    panel->Time_Timer();
    panel->Label4().setText(QStringLiteral("打开单个Flash文件"));
    const QStringList before{label(1), label(2), label(3), label(4)};

    answerDialogWithCancel();
    panel->openfile_Click();

    EXPECT_EQ((QStringList{label(1), label(2), label(3), label(4)}), before);
    EXPECT_EQ(flash().Movie(), path);
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(flash().CurrentFrame(), 42);
    EXPECT_TRUE(panel->Time().isActive());
    EXPECT_EQ(panel->cd().FileName(), path);
}

TEST_F(OpenFile, CancelAtStartUpLeavesThePlayerHiddenAndTheLinesAsTheyWere)
{
    answerDialogWithCancel();
    panel->openfile_Click();
    EXPECT_TRUE(player().isHidden());
    EXPECT_EQ(label(1), QString());
    EXPECT_EQ(label(2), QStringLiteral("准备就序"));
    EXPECT_FALSE(panel->Time().isActive());
    EXPECT_EQ(flash().Movie(), QString());
}

TEST_F(OpenFile, ChoosingWhileAnotherPlaysReplacesIt)
{
    open(movies.write(QStringLiteral("old"), 100));
    showFrame(60);
    const QString next = movies.write(QStringLiteral("new"), 10);
    open(next);
    EXPECT_EQ(flash().Movie(), next);
    EXPECT_EQ(flash().TotalFrames(), 10);
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(label(1), QStringLiteral("正在播放：") + next);
    EXPECT_EQ(label(2), QStringLiteral("正常播放中"));
}

TEST_F(OpenFile, HiddenOrClosedPlayerIsShownAtItsPlayingPlace)
{
    player().show();
    player().move(300, 200);
    player().hide();
    const QString first = movies.write(QStringLiteral("hidden"), 10);
    open(first);
    EXPECT_TRUE(player().isVisible());
    EXPECT_EQ(player().pos(), QPoint(100, 0));

    player().close();
    flushDeletions();
    const QString second = movies.write(QStringLiteral("closed"), 10);
    open(second);
    EXPECT_TRUE(player().isVisible());
    EXPECT_EQ(player().pos(), QPoint(100, 0));
    EXPECT_EQ(flash().Movie(), second);
    EXPECT_TRUE(flash().Playing());
}

TEST_F(OpenFile, MaximisedPlayerStaysMaximisedAndPlaysTheNewMovie)
{
    player().show();
    player().move(300, 200);
    panel->qian_Click();
    QCoreApplication::processEvents();
    const QString path = movies.write(QStringLiteral("maximised"), 10);
    open(path);
    EXPECT_TRUE(player().windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(player().isVisible());
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(label(2), QStringLiteral("正常播放中"));
    EXPECT_TRUE(panel->Time().isActive());

    player().setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();
    EXPECT_EQ(player().pos(), QPoint(300, 200));
}

TEST_F(OpenFile, MinimisedPlayerSkipsTheMoveAndTheRestRuns)
{
    player().show();
    player().move(300, 200);
    panel->small_Click();
    const QString path = movies.write(QStringLiteral("minimised"), 10);
    open(path);
    EXPECT_TRUE(player().windowState() & Qt::WindowMinimized);
    EXPECT_EQ(flash().Movie(), path);
    EXPECT_TRUE(flash().Playing());
    EXPECT_EQ(label(1), QStringLiteral("正在播放：") + path);
    EXPECT_EQ(label(2), QStringLiteral("正常播放中"));
    EXPECT_TRUE(panel->Time().isActive());

    player().setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();
    EXPECT_EQ(player().pos(), QPoint(300, 200));
}

TEST_F(OpenFile, PathOfAMissingFileIsHandedOnAndNamed)
{
    const QString missing = movies.folder() + QStringLiteral("/missing.swf");
    open(missing);
    EXPECT_EQ(flash().Movie(), missing);
    EXPECT_EQ(label(1), QStringLiteral("正在播放：") + missing);
    EXPECT_EQ(label(2), QStringLiteral("正常播放中"));
    EXPECT_TRUE(player().isVisible());
    EXPECT_TRUE(panel->Time().isActive());
}

TEST_F(OpenFile, RealDialogTakesATypedPath)
{
    const QString path = movies.write(QStringLiteral("typed"), 10);
    QString filterShown;
    // The dialog's own modal loop; once it shows, the path is typed into its
    // name field and the dialog accepted.
    auto typeAndAccept = [&](QFileDialog& shown) {
        QFileDialog* dialog = &shown;
        EXPECT_EQ(QApplication::activeModalWidget(), dialog);
        auto* filterBox = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (filterBox)
            filterShown = filterBox->currentText();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) {
            ADD_FAILURE() << "the dialog has no name field";
            dialog->reject();
            return;
        }
        name->setText(path);
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (!buttons || !buttons->button(QDialogButtonBox::Open)) {
            ADD_FAILURE() << "the dialog has no open button";
            dialog->reject();
            return;
        }
        buttons->button(QDialogButtonBox::Open)->click();
    };
    answerDialog([&](QFileDialog& dialog) {
        QTimer::singleShot(0, &dialog, [&] { typeAndAccept(dialog); });
        return dialog.exec();
    });
    panel->openfile_Click();
    EXPECT_EQ(filterShown, QStringLiteral("Flash播放文件"));
    EXPECT_EQ(flash().Movie(), path);
    EXPECT_EQ(label(1), QStringLiteral("正在播放：") + path);
}

} // namespace
} // namespace vf::test
