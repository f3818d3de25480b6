#pragma once
// The logic of the drive list `Drive1`: the mounted file systems by their
// mount points, the root first. A choice by the user is announced; a choice
// set from code is not.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <vector>

class QComboBox;

namespace vf::playlist {

class DriveList : public QObject {
    Q_OBJECT
public:
    // Lists the mounted file systems and stands at the one holding the start
    // folder.
    DriveList(QComboBox& widget, const QByteArray& startFolder);

    // The chosen drive as the list names it, and its mount point as the
    // system spells it.
    QString Drive() const;
    QByteArray nativeDrive() const;

    // Stands at the drive that holds the folder, without announcing it.
    void showDriveOf(const QByteArray& folder);

signals:
    void changed();

private:
    void chosen(int index);

    QComboBox& widget_;
    int shownIndex_ = -1;
};

// Mount points of the file systems a user keeps files on: the root first,
// then the others by path; the system's own pseudo file systems left out.
std::vector<QByteArray> userMountPoints();

// The mount point among the given ones that holds the folder.
QByteArray mountPointOf(const std::vector<QByteArray>& mountPoints, const QByteArray& folder);

} // namespace vf::playlist
