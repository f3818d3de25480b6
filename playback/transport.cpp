#include "playback/transport.h"

#include "app/main_panel.h"
#include "app/windows.h"
#include "playback/flash_from.h"
#include "playback/modal_run.h"
#include "playback/panel_texts.h"
#include "ui/window_reach.h"

#include <QLabel>
#include <QMessageBox>

namespace vf {

void showNoMovieMessage(QWidget* parent)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("播放Flash文件"),
                    QStringLiteral("未选择播放文件，請选择要播放的文件！"), QMessageBox::Ok, parent);
    // Minimised, the box would stay out of reach and block the panel.
    ui::refuseMinimise(box);
    runModal(box);
}

void playMovie(MainPanel& main)
{
    const QString movie = Windows::flashfrom().Flash().Movie();
    if (movie.isEmpty()) {
        showNoMovieMessage(&main);
        return;
    }
    main.Label1().setText(texts::kPlayingFile + Windows::flashfrom().Flash().Movie());
    // A minimised or maximised player window stays where it is.
    Windows::flashfrom().Move(FlashFrom::kPlayingLeft, FlashFrom::kPlayingTop);
    Windows::flashfrom().show();
    // Runs on from the frame shown; the movie is not loaded again.
    Windows::flashfrom().Flash().setPlaying(true);
    main.Label2().setText(texts::kPlayingStatus);
    main.setTimeEnabled(true);
}

void stopMovie(MainPanel& main)
{
    Windows::flashfrom().Flash().Stop();
    main.Label2().setText(texts::kStoppedStatus);
    // The progress line keeps its last text.
    main.setTimeEnabled(false);
}

qint32 stepTarget(qint32 currentFrame, qint32 offset)
{
    // Wraps like the 32-bit sum it stands for, without overflow in C++.
    return static_cast<qint32>(static_cast<quint32>(currentFrame) + static_cast<quint32>(offset));
}

void stepMovie(MainPanel& main, qint32 offset)
{
    // No test for a loaded movie: the component takes every call, and what
    // it shows for a frame outside the movie is its own affair.
    const qint32 current = Windows::flashfrom().Flash().CurrentFrame();
    const qint32 target = stepTarget(current, offset);
    Windows::flashfrom().Flash().GotoFrame(target);
    Windows::flashfrom().Flash().Play();
    const bool loaded = !Windows::flashfrom().Flash().Movie().isEmpty();
    main.Label2().setText(loaded ? texts::kSteppedStatus : texts::kReadyStatus);
}

} // namespace vf
