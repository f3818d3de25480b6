#pragma once
// Typed calls on the playback component `Flash`. Every call goes through the
// component's dispatch ids, so the player talks to it late-bound, the way a
// host talks to a control it only knows by its operations.

#include <QString>
#include <QtGlobal>

namespace flash {
class FlashWidget;
}

namespace vf {

class FlashComponent {
public:
    explicit FlashComponent(flash::FlashWidget& widget) : widget_(&widget) {}

    // The loaded movie's path; empty when nothing is loaded.
    QString Movie() const;
    // Loads the movie at the path; the empty text unloads.
    void setMovie(const QString& path);
    void Play();
    void Stop();
    qint32 TotalFrames() const;
    bool Playing() const;
    void setPlaying(bool playing);
    // Frame numbers are the component's own; any value is accepted.
    void GotoFrame(qint32 frame);
    qint32 CurrentFrame() const;

    flash::FlashWidget& widget() const { return *widget_; }

private:
    flash::FlashWidget* widget_;
};

} // namespace vf
