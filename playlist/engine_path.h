#pragma once
// The path to hand the playback engine for a file named by native bytes.
// The engine opens files by text paths; a name that is not valid text in the
// locale cannot be spelt that way, so such a file is opened here and handed
// over through the process's own descriptor link while this object lives.

#include <QByteArray>
#include <QString>

namespace vf::playlist {

class EnginePath {
public:
    explicit EnginePath(const QByteArray& nativePath);
    ~EnginePath();
    EnginePath(const EnginePath&) = delete;
    EnginePath& operator=(const EnginePath&) = delete;

    // The path as text; it stays valid for opening while this object lives.
    const QString& text() const { return text_; }

private:
    QString text_;
    int descriptor_ = -1;
};

// Whether the native bytes survive the trip through the locale's text.
bool spellsAsText(const QByteArray& nativePath);

} // namespace vf::playlist
