// The settings the Flash control is created with; the host changes none of them.
#pragma once

#include <QString>

namespace flash {

struct FlashSettings {
    bool startPlayingOnLoad = true;
    bool loop = true;
    bool contextMenu = false;
    bool deviceFonts = false;
    bool embedMovie = false;
    QString windowMode = QStringLiteral("Window");
    QString quality = QStringLiteral("High");
    QString scaleMode = QStringLiteral("ShowAll");
};

} // namespace flash
