#pragma once
// The logic of the folder list `Dir1`: the open folder's ancestors from the
// root down, the open folder itself, then its subfolders. A single click only
// highlights a folder; a double click opens it. The open folder changes only
// by opening or by writing the path, and every change is announced at once.

#include "playlist/folder_listing.h"

#include <QObject>

class QListWidget;
class QListWidgetItem;

namespace vf::playlist {

class DirList : public QObject {
    Q_OBJECT
public:
    DirList(QListWidget& widget, const QByteArray& startFolder);

    // The open folder as text, and as the system spells it.
    QString Path() const;
    const QByteArray& nativePath() const { return folder_; }
    // Opens another folder; `changed` is emitted inside this call when the
    // open folder differs from before. A folder that cannot be read leaves
    // the list where it was; the error says why.
    std::expected<void, ListingError> setPath(const QByteArray& folder);
    // Reads the open folder's subfolders again.
    std::expected<void, ListingError> Refresh();

signals:
    void changed();
    // Opening a folder by the user failed, for the reason given.
    void openFailed(const QString& reason);

private:
    void fill(const std::vector<QByteArray>& subfolders);
    void open(QListWidgetItem* item);

    QListWidget& widget_;
    QByteArray folder_;
};

// The ancestors of an absolute folder path from the root down, ending with
// the folder itself: "/a/b" gives "/", "/a", "/a/b".
std::vector<QByteArray> folderChain(const QByteArray& folder);

} // namespace vf::playlist
