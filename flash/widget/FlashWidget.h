// The Flash control: a widget that plays one movie, driven by dispatch id or by typed calls.
#pragma once

#include "flash/player/Player.h"
#include "flash/widget/AudioOutput.h"
#include "flash/widget/FlashSettings.h"

#include <QImage>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace flash {

// The control's operations by dispatch id, as hosts call them.
enum class FlashDispatchId : int {
    Movie = 102,        // property, text: the movie path, "" when none
    Play = 112,         // method
    Stop = 113,         // method
    TotalFrames = 124,  // read-only property, integer
    Playing = 125,      // property, boolean (hosts write -1 for true, 0 for false)
    GotoFrame = 127,    // method, one integer: 0-based frame
    CurrentFrame = 128, // method, result: 0-based frame
};

enum class DispatchKind : uint8_t { Method, PropertyGet, PropertyPut };

class FlashWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Movie READ movie WRITE setMovie)
    Q_PROPERTY(bool Playing READ playing WRITE setPlaying)
    Q_PROPERTY(int TotalFrames READ totalFrames)

public:
    explicit FlashWidget(QWidget* parent = nullptr);
    ~FlashWidget() override;

    // Writing a path loads it (a file that is not a movie shows nothing, and the
    // path still reads back); writing "" unloads.
    [[nodiscard]] QString movie() const { return m_moviePath; }
    void setMovie(const QString& path);
    void play();
    void stop();
    [[nodiscard]] int totalFrames() const;
    [[nodiscard]] bool playing() const;
    void setPlaying(bool playing);
    // Frame numbers are 0-based; out-of-range targets show the nearest frame.
    void gotoFrame(qint64 frame);
    [[nodiscard]] int currentFrame() const;

    // Late-bound call by dispatch id. A property is read with PropertyGet (or
    // Method without arguments) and written with PropertyPut (or Method with one
    // argument). Unknown ids give an invalid QVariant and change nothing.
    QVariant dispatch(int id, DispatchKind kind, const QVariantList& arguments = {});

    [[nodiscard]] const FlashSettings& settings() const { return m_settings; }
    [[nodiscard]] Player& player() { return m_player; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The pointer and the keys go to the movie, in stage coordinates.
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    // Tab belongs to the movie, which moves its own focus.
    bool focusNextPrevChild(bool) override { return false; }
    [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    void movePointer(QPointF position);
    // Copy, cut, paste and select all on the focused text field; true when the key was one of them.
    bool clipboardShortcut(QKeyEvent* event);
    // Redraws what the event changed, and shows the pointer's shape for where it now stands.
    void afterInput();

    void onFrameTimer();
    void scheduleNextFrame();
    // Runs the scripts of a frame just shown (loaded, or gone to) as soon as the event loop is free.
    // Asks for a paint of what changed on stage since the last ask (nothing while it stands still).
    void updateChanged();
    void scheduleSettle();
    QVariant readProperty(FlashDispatchId id) const;
    QVariant writeProperty(FlashDispatchId id, const QVariant& value);

    FlashSettings m_settings;
    Player m_player;
    // After the player: it pulls the player's mix until it goes.
    AudioOutput m_audio{[this](int16_t* out, size_t frames) { m_player.mixAudio(out, frames); }};
    QString m_moviePath;
    QTimer m_frameTimer;
    // The view as last drawn. Frames are drawn into it and then shown: the
    // renderer's fastest fills write straight into a picture's pixels, which a
    // window's own surface does not offer.
    QImage m_picture;
};

} // namespace flash
