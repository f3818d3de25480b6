#include "playlist/engine_path.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace vf::playlist {

bool spellsAsText(const QByteArray& nativePath)
{
    return QFile::encodeName(QFile::decodeName(nativePath)) == nativePath;
}

EnginePath::EnginePath(const QByteArray& nativePath)
{
    if (!spellsAsText(nativePath)) {
        descriptor_ = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
        if (descriptor_ >= 0) {
            text_ = QStringLiteral("/proc/self/fd/%1").arg(descriptor_);
            return;
        }
    }
    // A file that cannot be opened is handed over by its name all the same;
    // what the engine makes of it is its own affair.
    text_ = QFile::decodeName(nativePath);
}

EnginePath::~EnginePath()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

} // namespace vf::playlist
