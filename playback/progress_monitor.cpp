#include "playback/progress_monitor.h"

#include "app/main_panel.h"
#include "app/windows.h"
#include "playback/flash_from.h"
#include "playback/panel_texts.h"
#include "playlist/form2.h"
#include "ui/image_control.h"
#include "ui/twips.h"
#include "ui/window_placement.h"

#include <QLabel>

namespace vf {
namespace {

// The marker's centre is 60 twips right of its left edge; at frame 0 the
// marker stands with its centre over the track's left end (840).
constexpr double kMarkerCentre = 60;
constexpr double kMarkerStart = 780;
constexpr double kPlaylistGap = 5;

double leftTwips(const QWidget& widget) { return widget.x() * ui::kTwipsPerPixel; }
double topTwips(const QWidget& widget) { return widget.y() * ui::kTwipsPerPixel; }
double widthTwips(const QWidget& widget) { return widget.width() * ui::kTwipsPerPixel; }

void moveImageInTwips(QWidget& image, double left, double top)
{
    image.move(ui::twipsToPixels(left), ui::twipsToPixels(top));
}

} // namespace

qint64 wholePercent(qint32 cur, qint32 total)
{
    if (total == 0)
        return 0;
    // Exact in integers: the quotient cur / total formed first in floating
    // point falls just short for some frames (29 of 100 would show 28).
    const qint64 numerator = qint64(cur) * 100;
    qint64 quotient = numerator / total;
    if ((numerator % total != 0) && ((numerator < 0) != (total < 0)))
        --quotient;  // round down, also for a negative share
    return quotient;
}

QString progressText(qint64 percent)
{
    return texts::kProgress + QString::number(percent) + QStringLiteral("%");
}

void showProgress(MainPanel& main)
{
    const bool playing = Windows::flashfrom().Flash().Playing();
    qint32 total = 1;
    qint32 cur = 0;
    if (playing) {
        total = Windows::flashfrom().Flash().TotalFrames();
        cur = Windows::flashfrom().Flash().CurrentFrame();
    }
    main.Label3().setText(progressText(wholePercent(cur, total)));

    ui::ImageControl& track = main.image(QStringLiteral("jin1"));
    ui::ImageControl& marker = main.image(QStringLiteral("jin2"));
    const float trackWidth = float(widthTwips(track));
    // A movie without frames keeps the marker at the start.
    const double step = total == 0 ? 0.0 : double(trackWidth) / total;
    const float markerRight = float(widthTwips(marker) + leftTwips(marker) - kMarkerCentre);
    if (float(leftTwips(track)) + trackWidth == markerRight) {
        // The last tick put the marker's centre over the track's right end:
        // it goes back to the track's left edge.
        moveImageInTwips(marker, leftTwips(track), topTwips(track));
        return;
    }
    const float markerLeft = float(step * cur + kMarkerStart);
    moveImageInTwips(marker, markerLeft, topTwips(marker));
}

void dockPlaylist(MainPanel& main)
{
    const double panelLeft = leftTwips(main);
    const double panelWidth = ui::scaleWidthInTwips(main);
    const double panelTop = topTwips(main);
    ui::moveInTwips(Windows::form2(), float(panelWidth + panelLeft + kPlaylistGap), panelTop);
}

} // namespace vf
