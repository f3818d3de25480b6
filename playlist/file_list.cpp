#include "playlist/file_list.h"

#include "flash/widget/LocalPath.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>

namespace vf::playlist {

FileList::FileList(QListWidget& widget, const QString& pattern, const QByteArray& startFolder)
    : QObject(&widget)
    , widget_(widget)
    , pattern_(flash::localPathBytes(pattern))
    , folder_(startFolder)
{
    widget_.setSelectionMode(QAbstractItemView::SingleSelection);
    widget_.setUniformItemSizes(true);
    // Long names are cut at the list's edge, not shortened with an ellipsis.
    widget_.setTextElideMode(Qt::ElideNone);
    // A start folder that cannot be read gives an empty list.
    std::ignore = read(startFolder);
}

QString FileList::Path() const
{
    return flash::pathFromLocalBytes(folder_);
}

std::expected<void, ListingError> FileList::setPath(const QString& folder)
{
    return setNativePath(flash::localPathBytes(folder));
}

std::expected<void, ListingError> FileList::setNativePath(const QByteArray& folder)
{
    return read(folder);
}

std::expected<void, ListingError> FileList::Refresh()
{
    return read(folder_);
}

std::expected<void, ListingError> FileList::read(const QByteArray& folder)
{
    auto names = listMatchingFiles(folder, pattern_);
    if (!names)
        return std::unexpected(names.error());
    folder_ = folder;
    entries_ = std::move(*names);

    QStringList shown;
    shown.reserve(static_cast<qsizetype>(entries_.size()));
    for (const QByteArray& name : entries_)
        shown.push_back(flash::pathFromLocalBytes(name));
    // Filling the list is not a selection by the user.
    const QSignalBlocker quiet(widget_);
    widget_.clear();
    widget_.addItems(shown);
    return {};
}

QString FileList::List(int index) const
{
    if (index < 0 || index >= ListCount())
        return {};
    return flash::pathFromLocalBytes(entries_[static_cast<std::size_t>(index)]);
}

int FileList::selectedIndex() const
{
    const QList<QListWidgetItem*> selected = widget_.selectedItems();
    return selected.isEmpty() ? -1 : widget_.row(selected.first());
}

QString FileList::FileName() const
{
    return List(selectedIndex());
}

QString FileList::entryPath(int index) const
{
    const QByteArray name = (index >= 0 && index < ListCount()) ? entries_[static_cast<std::size_t>(index)]
                                                                : QByteArray();
    return flash::pathFromLocalBytes(joinNative(folder_, name));
}

} // namespace vf::playlist
