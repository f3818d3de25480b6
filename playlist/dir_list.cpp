#include "playlist/dir_list.h"

#include "flash/widget/LocalPath.h"

#include <QApplication>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyle>

namespace vf::playlist {
namespace {

constexpr int kNativePathRole = Qt::UserRole;
const QString kIndent = QStringLiteral("  ");

QByteArray lastName(const QByteArray& folder)
{
    if (folder == "/")
        return folder;
    return folder.mid(folder.lastIndexOf('/') + 1);
}

// "/a/b/" and "/a//b" name the folder "/a/b".
QByteArray cleaned(const QByteArray& folder)
{
    QByteArray result;
    for (const QByteArray& part : folder.split('/')) {
        if (!part.isEmpty())
            result += '/' + part;
    }
    return result.isEmpty() ? QByteArray("/") : result;
}

} // namespace

std::vector<QByteArray> folderChain(const QByteArray& folder)
{
    std::vector<QByteArray> chain{QByteArray("/")};
    QByteArray path;
    for (const QByteArray& part : folder.split('/')) {
        if (part.isEmpty())
            continue;
        path += '/' + part;
        chain.push_back(path);
    }
    return chain;
}

DirList::DirList(QListWidget& widget, const QByteArray& startFolder)
    : QObject(&widget)
    , widget_(widget)
    , folder_(cleaned(startFolder))
{
    widget_.setSelectionMode(QAbstractItemView::SingleSelection);
    widget_.setUniformItemSizes(true);
    connect(&widget_, &QListWidget::itemDoubleClicked, this, &DirList::open);
    // A start folder that cannot be read still shows where it is.
    if (!Refresh())
        fill({});
}

QString DirList::Path() const
{
    return flash::pathFromLocalBytes(folder_);
}

std::expected<void, ListingError> DirList::setPath(const QByteArray& folder)
{
    const QByteArray target = cleaned(folder);
    auto subfolders = listSubfolders(target);
    if (!subfolders)
        return std::unexpected(subfolders.error());
    const bool differs = target != folder_;
    folder_ = target;
    fill(*subfolders);
    if (differs)
        emit changed();
    return {};
}

std::expected<void, ListingError> DirList::Refresh()
{
    auto subfolders = listSubfolders(folder_);
    if (!subfolders)
        return std::unexpected(subfolders.error());
    fill(*subfolders);
    return {};
}

void DirList::fill(const std::vector<QByteArray>& subfolders)
{
    const QStyle* style = QApplication::style();
    const QIcon openIcon = style->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style->standardIcon(QStyle::SP_DirClosedIcon);

    const QSignalBlocker quiet(widget_);
    widget_.clear();
    QString indent;
    QListWidgetItem* openItem = nullptr;
    for (const QByteArray& ancestor : folderChain(folder_)) {
        openItem = new QListWidgetItem(openIcon, indent + flash::pathFromLocalBytes(lastName(ancestor)));  // owned by the widget
        openItem->setData(kNativePathRole, ancestor);
        widget_.addItem(openItem);
        indent += kIndent;
    }
    for (const QByteArray& name : subfolders) {
        auto* item = new QListWidgetItem(closedIcon, indent + flash::pathFromLocalBytes(name));  // owned by the widget
        item->setData(kNativePathRole, joinNative(folder_ == "/" ? QByteArray() : folder_, name));
        widget_.addItem(item);
    }
    widget_.setCurrentItem(openItem);
}

void DirList::open(QListWidgetItem* item)
{
    if (!item)
        return;
    const QByteArray target = item->data(kNativePathRole).toByteArray();
    if (auto opened = setPath(target); !opened)
        emit openFailed(opened.error());
}

} // namespace vf::playlist
