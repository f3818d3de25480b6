#include "playlist/form3.h"

#include "app/main_panel.h"
#include "app/windows.h"
#include "playback/flash_from.h"
#include "playlist/form2.h"
#include "ui/enter_key.h"
#include "ui/window_reach.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vf {

QString movieCountText(int count)
{
    return QStringLiteral("此文件夾共有：") + QString::number(count) + QStringLiteral("个Flash播放文件");
}

Form3::Form3()
    : ui::DesignWindow(QStringLiteral("Form3"))
{
    // The lists start at the program's current folder.
    const QByteArray startFolder = playlist::currentFolder();
    drive1_ = new playlist::DriveList(Drive1(), startFolder);  // owned by the widget
    dir1_ = new playlist::DirList(Dir1(), startFolder);        // owned by the widget
    file1_ = new playlist::FileList(File1(), File1().property("pattern").toString(), startFolder);  // owned by the widget

    connect(drive1_, &playlist::DriveList::changed, this, &Form3::Drive1_Change);
    connect(dir1_, &playlist::DirList::changed, this, &Form3::Dir1_Change);
    connect(dir1_, &playlist::DirList::openFailed, this, &Form3::showFailure);
    connect(&Command1(), &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(&Command2(), &QPushButton::clicked, this, &Form3::Command2_Click);
    // Neither button is a default button: Enter presses only the button
    // that has the focus, and Esc presses nothing.
    ui::pressOnEnter(Command1());
    ui::pressOnEnter(Command2());
    // Without a taskbar button a minimised chooser could not be reached again.
    ui::refuseMinimise(*this);
}

QComboBox& Form3::Drive1() const { return designControl<QComboBox>(QStringLiteral("Drive1")); }
QListWidget& Form3::Dir1() const { return designControl<QListWidget>(QStringLiteral("Dir1")); }
QListWidget& Form3::File1() const { return designControl<QListWidget>(QStringLiteral("File1")); }
QPushButton& Form3::Command1() const { return designControl<QPushButton>(QStringLiteral("Command1")); }
QPushButton& Form3::Command2() const { return designControl<QPushButton>(QStringLiteral("Command2")); }
QLabel& Form3::Label3() const { return designControl<QLabel>(QStringLiteral("Label3")); }

void Form3::Form_Load()
{
    if (auto refreshed = dir1_->Refresh(); !refreshed) {
        std::ignore = file1_->Refresh();
        showFailure(refreshed.error());
        return;
    }
    if (auto refreshed = file1_->Refresh(); !refreshed) {
        showFailure(refreshed.error());
        return;
    }
    showCount();
}

void Form3::Drive1_Change()
{
    // Opening the drive's root runs Dir1_Change inside the write.
    if (auto opened = dir1_->setPath(drive1_->nativeDrive()); !opened) {
        // The chooser stays on the drive and folder it showed.
        drive1_->showDriveOf(dir1_->nativePath());
        showFailure(opened.error());
        return;
    }
    std::ignore = dir1_->Refresh();
}

void Form3::Dir1_Change()
{
    if (auto listed = file1_->setNativePath(dir1_->nativePath()); !listed) {
        showFailure(listed.error());
        return;
    }
    std::ignore = file1_->Refresh();
    showCount();
}

void Form3::Command1_Click()
{
    playlist::FileList& playlist = Windows::form2().filList();
    // A folder that vanished since it was opened leaves the playlist as it was.
    if (playlist.setNativePath(dir1_->nativePath()))
        std::ignore = playlist.Refresh();
    close();
}

void Form3::Command2_Click()
{
    close();
}

void Form3::Form_Unload(int&)
{
    const playlist::FileList& playlist = Windows::form2().filList();
    if (playlist.ListCount() == 0)
        return;
    const QString path = playlist.entryPath(0);
    FlashFrom& player = Windows::flashfrom();
    FlashComponent flash = player.Flash();
    flash.setMovie(path);
    flash.setPlaying(true);
    MainPanel& panel = Windows::main();
    panel.setTimeEnabled(true);
    panel.Label2().setText(QStringLiteral("正在播放中"));
    panel.Label1().setText(QStringLiteral("正在播放：") + path);
    player.show();
}

void Form3::showCount()
{
    Label3().setText(movieCountText(file1_->ListCount()));
}

void Form3::showFailure(const QString& reason)
{
    Label3().setText(movieCountText(file1_->ListCount()) + QLatin1Char('\n') + reason);
}

} // namespace vf
