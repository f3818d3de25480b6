#pragma once
// The playlist window `Form2`: borderless, skinned, with the file list `Fil`
// over the playlist folder's movies. A selection previews a movie standing
// still, a double click plays it, and the pointer over the list explains it
// in the panel's hint line.

#include "playlist/file_list.h"
#include "ui/design_window.h"

class QListWidget;

namespace vf {

class Form2 : public ui::DesignWindow {
    Q_OBJECT
public:
    Form2();

    // The list widget of `Fil`; its "pattern" property holds the pattern.
    QListWidget& Fil() const;
    // The file list logic of `Fil`: its folder, entries and selection.
    playlist::FileList& filList() const { return *fil_; }

    void Fil_Click();
    void Fil_DblClick();
    void Fil_MouseMove(short Button, short Shift, float X, float Y);
    void Form_Resize();

protected:
    void Form_Unload(int& cancel) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void selectionChanged();

    playlist::FileList* fil_;  // owned by the list widget
};

} // namespace vf
