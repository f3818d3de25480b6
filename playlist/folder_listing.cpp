#include "playlist/folder_listing.h"

#include "flash/widget/LocalPath.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vf::playlist {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

ListingError systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

enum class EntryKind { File, Folder, Other };

// The kind of an entry, from the listing where the file system tells it and
// from the entry itself (following links) where it does not.
EntryKind entryKind(int dirFd, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return EntryKind::Other;
    }
    struct stat status {};
    if (fstatat(dirFd, entry.d_name, &status, 0) != 0)
        return EntryKind::Other;
    if (S_ISREG(status.st_mode))
        return EntryKind::File;
    if (S_ISDIR(status.st_mode))
        return EntryKind::Folder;
    return EntryKind::Other;
}

template <typename Keep>
std::expected<std::vector<QByteArray>, ListingError> listFolder(const QByteArray& folder, Keep keep)
{
    const DirHandle dir(opendir(folder.isEmpty() ? "." : folder.constData()));
    if (!dir)
        return std::unexpected(systemError(errno));
    const int dirFd = dirfd(dir.get());
    std::vector<QByteArray> names;
    errno = 0;
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_name[0] != '.' && keep(dirFd, *entry))
            names.emplace_back(entry->d_name);
        errno = 0;
    }
    if (errno != 0)
        return std::unexpected(systemError(errno));
    sortByName(names);
    return names;
}

} // namespace

std::expected<std::vector<QByteArray>, ListingError> listMatchingFiles(const QByteArray& folder,
                                                                       const QByteArray& pattern)
{
    return listFolder(folder, [&pattern](int dirFd, const dirent& entry) {
        return fnmatch(pattern.constData(), entry.d_name, FNM_CASEFOLD) == 0
            && entryKind(dirFd, entry) == EntryKind::File;
    });
}

std::expected<std::vector<QByteArray>, ListingError> listSubfolders(const QByteArray& folder)
{
    return listFolder(folder,
                      [](int dirFd, const dirent& entry) { return entryKind(dirFd, entry) == EntryKind::Folder; });
}

QByteArray joinNative(const QByteArray& folder, const QByteArray& name)
{
    return folder + '/' + name;
}

QByteArray currentFolder()
{
    // The system sizes the buffer; Qt's own current path would decode the
    // bytes and lose those that are not UTF-8.
    const std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    return path ? QByteArray(path.get()) : QByteArray();
}

void sortByName(std::vector<QByteArray>& names)
{
    struct Keyed {
        QString key;
        QByteArray name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (QByteArray& name : names)
        keyed.push_back({flash::pathFromLocalBytes(name).toCaseFolded(), std::move(name)});
    std::ranges::sort(keyed, [](const Keyed& a, const Keyed& b) {
        if (const int order = a.key.compare(b.key); order != 0)
            return order < 0;
        return a.name < b.name;
    });
    names.clear();
    for (Keyed& entry : keyed)
        names.push_back(std::move(entry.name));
}

} // namespace vf::playlist
