#pragma once
// The larger pictures: window backgrounds, the logo, the icon and the progress
// display.

#include <QImage>

namespace skinpaint {

QImage panelBackground(int width, int height);
QImage playlistBackground(int width, int height);
QImage logoPicture(int width, int height);
QImage iconPicture(int width, int height);
QImage progressTrack(int width, int height);
QImage progressMarker(int width, int height);

} // namespace skinpaint
