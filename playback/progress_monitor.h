#pragma once
// The panel's two periodic jobs: the progress line and marker (timer `Time`,
// once a second) and keeping the playlist docked to the panel's right edge
// (timer `Timer1`, ten times a second).

#include <QString>
#include <QtGlobal>

namespace vf {

class MainPanel;

// Writes the share of the movie played and slides the marker along the
// track; with no movie playing it shows 0 % and puts the marker at the start.
void showProgress(MainPanel& main);

// Moves the playlist window 5 twips right of the panel, level with its top.
void dockPlaylist(MainPanel& main);

// The whole percent of the movie played at frame cur of total: the integer
// floor of cur * 100 / total, 0 when there are no frames.
qint64 wholePercent(qint32 cur, qint32 total);

// The progress line for a percent.
QString progressText(qint64 percent);

} // namespace vf
