#pragma once
// The logic of a file list control (`Fil`, `File1`): the files of one folder
// whose names match the list's pattern, sorted by name, shown in a list
// widget. The folder and the names are kept as native bytes, so that every
// listed file can be reached again whatever its name.

#include "playlist/folder_listing.h"

#include <QObject>

class QListWidget;

namespace vf::playlist {

class FileList : public QObject {
    Q_OBJECT
public:
    // Shows the matches of the pattern in the start folder in the widget.
    FileList(QListWidget& widget, const QString& pattern, const QByteArray& startFolder);

    // The folder as text, and as the system spells it.
    QString Path() const;
    const QByteArray& nativePath() const { return folder_; }
    // Lists another folder. A folder that cannot be read leaves the list on
    // its folder and entries; the error says why.
    std::expected<void, ListingError> setPath(const QString& folder);
    std::expected<void, ListingError> setNativePath(const QByteArray& folder);
    // Reads the folder's files again.
    std::expected<void, ListingError> Refresh();

    int ListCount() const { return static_cast<int>(entries_.size()); }
    QString List(int index) const;
    // Name of the selected entry; empty when none is selected.
    QString FileName() const;
    int selectedIndex() const;

    // The list folder, one separator and the entry's name, as text that
    // names the file whatever its bytes (see flash/widget/LocalPath.h). It
    // is both what the panel shows and what the engine opens.
    QString entryPath(int index) const;

    QListWidget& widget() const { return widget_; }

private:
    std::expected<void, ListingError> read(const QByteArray& folder);

    QListWidget& widget_;
    QByteArray pattern_;
    QByteArray folder_;
    std::vector<QByteArray> entries_;
};

} // namespace vf::playlist
