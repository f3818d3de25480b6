#include "playlist/drive_list.h"

#include "flash/widget/LocalPath.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <algorithm>
#include <array>
#include <string_view>

namespace vf::playlist {
namespace {

constexpr int kNativePathRole = Qt::UserRole;

bool isUnder(const QByteArray& path, const QByteArray& top)
{
    return path == top || path.startsWith(top + '/');
}

// Kernel and runtime mounts that hold no user files.
bool isSystemMount(const QByteArray& mountPoint, const QByteArray& type)
{
    static constexpr std::array kSystemTrees{"/proc", "/sys", "/dev", "/run"};
    static constexpr std::array kPseudoTypes{"proc",     "sysfs",  "devpts", "devtmpfs", "cgroup",   "cgroup2",
                                              "securityfs", "pstore", "bpf",    "tracefs",  "debugfs",  "mqueue",
                                              "hugetlbfs", "configfs", "fusectl", "autofs", "binfmt_misc", "efivarfs",
                                              "rpc_pipefs", "nsfs"};
    if (std::ranges::find(kPseudoTypes, std::string_view(type.constData())) != kPseudoTypes.end())
        return true;
    // Removable media are mounted below /run/media; the rest of /run is the
    // system's.
    if (isUnder(mountPoint, "/run/media"))
        return false;
    return std::ranges::any_of(kSystemTrees, [&](const char* tree) { return isUnder(mountPoint, tree); });
}

} // namespace

std::vector<QByteArray> userMountPoints()
{
    std::vector<QByteArray> points;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QByteArray point = QFile::encodeName(volume.rootPath());
        if (!volume.isValid() || point.isEmpty() || isSystemMount(point, volume.fileSystemType()))
            continue;
        // Single files bound into a container's tree are no drives.
        if (!QFileInfo(volume.rootPath()).isDir())
            continue;
        if (std::ranges::find(points, point) == points.end())
            points.push_back(point);
    }
    if (std::ranges::find(points, QByteArray("/")) == points.end())
        points.push_back("/");
    std::ranges::sort(points, [](const QByteArray& a, const QByteArray& b) {
        if ((a == "/") != (b == "/"))
            return a == "/";
        return a < b;
    });
    return points;
}

QByteArray mountPointOf(const std::vector<QByteArray>& mountPoints, const QByteArray& folder)
{
    QByteArray best("/");
    for (const QByteArray& point : mountPoints) {
        if (point.size() > best.size() && isUnder(folder, point))
            best = point;
    }
    return best;
}

DriveList::DriveList(QComboBox& widget, const QByteArray& startFolder)
    : QObject(&widget)
    , widget_(widget)
{
    const QSignalBlocker quiet(widget_);
    for (const QByteArray& point : userMountPoints())
        widget_.addItem(flash::pathFromLocalBytes(point), point);
    showDriveOf(startFolder);
    connect(&widget_, &QComboBox::activated, this, &DriveList::chosen);
}

QString DriveList::Drive() const
{
    return widget_.currentText();
}

QByteArray DriveList::nativeDrive() const
{
    return widget_.currentData(kNativePathRole).toByteArray();
}

void DriveList::showDriveOf(const QByteArray& folder)
{
    std::vector<QByteArray> points;
    for (int i = 0; i < widget_.count(); ++i)
        points.push_back(widget_.itemData(i, kNativePathRole).toByteArray());
    const QByteArray point = mountPointOf(points, folder);
    const auto found = std::ranges::find(points, point);
    const QSignalBlocker quiet(widget_);
    shownIndex_ = found == points.end() ? 0 : static_cast<int>(found - points.begin());
    widget_.setCurrentIndex(shownIndex_);
}

void DriveList::chosen(int index)
{
    if (index == shownIndex_)
        return;
    shownIndex_ = index;
    emit changed();
}

} // namespace vf::playlist
