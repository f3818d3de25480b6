#pragma once
// The folder chooser `Form3`: a fixed dialog with a drive list, a folder list
// and a hidden file list that counts the open folder's movies. "打开(&O)"
// hands the open folder to the playlist; however the chooser closes, it then
// plays the playlist's first movie, if there is one.

#include "playlist/dir_list.h"
#include "playlist/drive_list.h"
#include "playlist/file_list.h"
#include "ui/design_window.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vf {

class Form3 : public ui::DesignWindow {
    Q_OBJECT
public:
    Form3();

    QComboBox& Drive1() const;
    QListWidget& Dir1() const;
    QListWidget& File1() const;
    QPushButton& Command1() const;
    QPushButton& Command2() const;
    QLabel& Label3() const;

    // The list logic behind the drive, folder and file lists.
    playlist::DriveList& driveList() const { return *drive1_; }
    playlist::DirList& dirList() const { return *dir1_; }
    playlist::FileList& fileList() const { return *file1_; }

    void Form_Load() override;
    void Drive1_Change();
    void Dir1_Change();
    void Command1_Click();
    void Command2_Click();
    void Form_Unload(int& cancel) override;

private:
    void showCount();
    // Keeps the count line and adds why a drive or folder could not be read.
    void showFailure(const QString& reason);

    playlist::DriveList* drive1_;  // each owned by its list widget
    playlist::DirList* dir1_;
    playlist::FileList* file1_;
};

// The count line for a number of movies.
QString movieCountText(int count);

} // namespace vf
