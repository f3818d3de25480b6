#include "playback/open_file.h"

#include "app/main_panel.h"
#include "app/windows.h"
#include "playback/flash_from.h"
#include "playback/open_file_dialog.h"
#include "playback/panel_texts.h"

#include <QLabel>

namespace vf {

void openSingleFile(MainPanel& main, OpenFileDialog& cd)
{
    cd.setFilter(QStringLiteral("Flash播放文件|*.swf|"));
    cd.setInitDir(QString());
    if (!cd.ShowOpen(&main))
        return;  // cancelled: nothing changes

    const QString chosen = cd.FileName();
    Windows::flashfrom().Flash().setMovie(chosen);
    const QString loaded = Windows::flashfrom().Flash().Movie();
    main.Label1().setText(texts::kPlayingFile + loaded);
    // A minimised or maximised player window stays where it is; the movie
    // still starts in it.
    Windows::flashfrom().Move(FlashFrom::kPlayingLeft, FlashFrom::kPlayingTop);
    Windows::flashfrom().show();
    Windows::flashfrom().Flash().setPlaying(true);
    main.Label2().setText(texts::kPlayingStatus);
    main.setTimeEnabled(true);
}

} // namespace vf
