#pragma once
// Reading one folder of the file system by its native (byte) path: the files
// whose names match a pattern, or the subfolders. Names stay as the bytes the
// system gives; flash::pathFromLocalBytes turns them into text that still
// names the file when the bytes are not UTF-8.

#include <QByteArray>
#include <QString>

#include <expected>
#include <vector>

namespace vf::playlist {

// The system's reason why a folder could not be read, as text.
using ListingError = QString;

// Names of the regular files (or links to them) in the folder that match the
// pattern, letter case ignored, sorted by name. Hidden names (a leading dot)
// are left out, as the system's own lists do.
std::expected<std::vector<QByteArray>, ListingError> listMatchingFiles(const QByteArray& folder,
                                                                       const QByteArray& pattern);

// Names of the subfolders (or links to folders), hidden ones left out, sorted
// by name.
std::expected<std::vector<QByteArray>, ListingError> listSubfolders(const QByteArray& folder);

// A folder path followed by one separator and a name. The separator is always
// inserted, whatever the folder ends with: the root folder gives "//name".
QByteArray joinNative(const QByteArray& folder, const QByteArray& name);

// The program's current folder as the system spells it; empty when the
// system cannot tell (the folder was removed).
QByteArray currentFolder();

// Sorts names the way a person reads them: letter case ignored, then byte
// order to keep the order total.
void sortByName(std::vector<QByteArray>& names);

} // namespace vf::playlist
