// The Flash control: paints the player's frames on a frame-clock timer and
// answers the host's calls, with or without a movie loaded.
#include "flash/widget/FlashWidget.h"

#include "flash/widget/LocalPath.h"

#include <QPainter>
#include <QPaintEvent>
#include <QUrl>
#include <chrono>
#include <filesystem>

namespace flash {
namespace {

PlayerSettings playerSettingsFor(const FlashSettings& settings)
{
    PlayerSettings result;
    result.startPlaying = settings.startPlayingOnLoad ? StartPlaying::Yes : StartPlaying::No;
    result.looping = settings.loop ? Looping::On : Looping::Off;
    result.quality = settings.quality == QLatin1String("Low") ? RenderQuality::Low : RenderQuality::High;
    return result;
}

// Whether the path names something, checked by its exact bytes.
bool pathExists(const QString& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(localPathBytes(path).toStdString()), error);
}

// Hosts build paths with backslashes, or hand over file URLs; where such a
// path names nothing as given, try it as the file it means.
QString existingPath(const QString& path)
{
    if (pathExists(path))
        return path;
    if (path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(path).toLocalFile();
    if (!path.contains(QLatin1Char('\\')))
        return path;
    QString slashed = path;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return pathExists(slashed) ? slashed : path;
}

bool isKnownId(int id)
{
    switch (FlashDispatchId(id)) {
    case FlashDispatchId::Movie:
    case FlashDispatchId::Play:
    case FlashDispatchId::Stop:
    case FlashDispatchId::TotalFrames:
    case FlashDispatchId::Playing:
    case FlashDispatchId::GotoFrame:
    case FlashDispatchId::CurrentFrame:
        return true;
    }
    return false;
}

} // namespace

FlashWidget::FlashWidget(QWidget* parent)
    : QWidget(parent), m_player(playerSettingsFor(m_settings))
{
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, &FlashWidget::onFrameTimer);
}

FlashWidget::~FlashWidget() = default;

void FlashWidget::setMovie(const QString& path)
{
    m_frameTimer.stop();
    m_moviePath = path;
    if (path.isEmpty())
        m_player.unload();
    else if (m_player.loadFile(localPathBytes(existingPath(path)).toStdString()))
        scheduleSettle();
    update();
}

void FlashWidget::play()
{
    m_player.play();
}

void FlashWidget::stop()
{
    m_player.stop();
}

int FlashWidget::totalFrames() const
{
    return m_player.totalFrames();
}

bool FlashWidget::playing() const
{
    return m_player.isPlaying();
}

void FlashWidget::setPlaying(bool playing)
{
    if (playing)
        play();
    else
        stop();
}

void FlashWidget::gotoFrame(qint64 frame)
{
    m_player.gotoFrame(frame);
    scheduleSettle();
    update();
}

int FlashWidget::currentFrame() const
{
    return m_player.currentFrame();
}

QVariant FlashWidget::dispatch(int id, DispatchKind kind, const QVariantList& arguments)
{
    if (!isKnownId(id))
        return {};
    const auto which = FlashDispatchId(id);
    switch (which) {
    case FlashDispatchId::Movie:
    case FlashDispatchId::TotalFrames:
    case FlashDispatchId::Playing: {
        const bool isWrite = kind == DispatchKind::PropertyPut
                             || (kind == DispatchKind::Method && !arguments.isEmpty());
        if (!isWrite)
            return readProperty(which);
        return arguments.isEmpty() ? QVariant() : writeProperty(which, arguments.first());
    }
    case FlashDispatchId::Play:
        play();
        return {};
    case FlashDispatchId::Stop:
        stop();
        return {};
    case FlashDispatchId::GotoFrame: {
        bool isNumber = false;
        const qint64 frame = arguments.isEmpty() ? 0 : arguments.first().toLongLong(&isNumber);
        if (isNumber)
            gotoFrame(frame);
        return {};
    }
    case FlashDispatchId::CurrentFrame:
        return currentFrame();
    }
    return {};
}

QVariant FlashWidget::readProperty(FlashDispatchId id) const
{
    switch (id) {
    case FlashDispatchId::Movie: return movie();
    case FlashDispatchId::TotalFrames: return totalFrames();
    case FlashDispatchId::Playing: return playing();
    default: return {};
    }
}

QVariant FlashWidget::writeProperty(FlashDispatchId id, const QVariant& value)
{
    switch (id) {
    case FlashDispatchId::Movie: setMovie(value.toString()); break;
    case FlashDispatchId::Playing: setPlaying(value.toBool()); break; // -1 and true both mean true
    default: break; // TotalFrames is read-only
    }
    return {};
}

void FlashWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_player.render(painter, size());
}

void FlashWidget::onFrameTimer()
{
    if (m_player.hasWorkToSettle()) {
        // The shown frame's scripts run once the host's handler has returned; the clock is not consulted.
        m_player.settle();
        update();
    } else if (m_player.advanceDueFrames() > 0) {
        update();
    }
    scheduleNextFrame();
}

void FlashWidget::scheduleSettle()
{
    if (m_player.hasWorkToSettle())
        m_frameTimer.start(0);
}

void FlashWidget::scheduleNextFrame()
{
    if (!m_player.hasMovie())
        return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_player.timeUntilNextFrame());
    m_frameTimer.start(std::max<int>(1, int(wait.count())));
}

} // namespace flash
