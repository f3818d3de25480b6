// The Flash control: paints the player's frames on a frame-clock timer and
// answers the host's calls, with or without a movie loaded.
#include "flash/widget/FlashWidget.h"

#include "flash/widget/KeyMapping.h"
#include "flash/widget/LocalPath.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QUrl>
#include <QWheelEvent>
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
    // The player only asks for web and mail addresses, and only from a click.
    result.openUrl = [](const std::string& url) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
    };
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
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
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
    else if (m_player.loadFile(localPathBytes(existingPath(path)).toStdString())) {
        m_player.setViewSize(size());
        scheduleSettle();
    }
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

void FlashWidget::paintEvent(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_picture.size() != pixels || m_picture.devicePixelRatio() != ratio) {
        m_picture = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_picture.setDevicePixelRatio(ratio);
    }
    if (m_picture.isNull())
        return;
    {
        QPainter painter(&m_picture);
        // Only what changed is drawn: the renderer leaves out what lies outside the region.
        painter.setClipRegion(event->region());
        m_player.render(painter, size());
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& part : event->region())
        painter.drawImage(part, m_picture, QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio));
}

void FlashWidget::updateChanged()
{
    const QRegion changed = m_player.takeChangedRegion(size());
    if (!changed.isEmpty())
        update(changed);
}

void FlashWidget::onFrameTimer()
{
    m_audio.pump();
    if (m_player.hasWorkToSettle()) {
        // The shown frame's scripts run once the host's handler has returned; the clock is not consulted.
        m_player.settle();
        updateChanged();
    } else if (m_player.advanceDueFrames() > 0) {
        updateChanged();
    }
    // Intervals keep their own pace between frames; what they change shows at once.
    if (m_player.runDueTimers())
        updateChanged();
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
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_player.timeUntilNextFrame());
    // Intervals wake the control as often as every 10 ms, as the reference runtime allowed.
    if (const auto timer = m_player.timeUntilNextTimer())
        wait = std::min(wait, std::max(*timer, std::chrono::milliseconds(10)));
    m_frameTimer.start(std::max<int>(1, int(wait.count())));
}

void FlashWidget::resizeEvent(QResizeEvent*)
{
    m_player.setViewSize(size());
}

void FlashWidget::movePointer(QPointF position)
{
    m_player.pointerMove(m_player.viewToStage(position.x(), position.y(), size()));
}

void FlashWidget::afterInput()
{
    switch (m_player.cursor()) {
    case Player::Cursor::Arrow: unsetCursor(); break;
    case Player::Cursor::Hand: setCursor(Qt::PointingHandCursor); break;
    case Player::Cursor::IBeam: setCursor(Qt::IBeamCursor); break;
    case Player::Cursor::Hidden: setCursor(Qt::BlankCursor); break;
    }
    // Input methods (Chinese among them) are offered while an input field has the focus.
    const bool wantsText = m_player.acceptsText();
    if (testAttribute(Qt::WA_InputMethodEnabled) != wantsText) {
        setAttribute(Qt::WA_InputMethodEnabled, wantsText);
        QGuiApplication::inputMethod()->update(Qt::ImEnabled);
    }
    updateChanged();
}

void FlashWidget::mouseMoveEvent(QMouseEvent* event)
{
    movePointer(event->position());
    afterInput();
}

void FlashWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    movePointer(event->position());
    m_player.pointerPress();
    afterInput();
}

void FlashWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    movePointer(event->position());
    m_player.pointerRelease();
    afterInput();
}

void FlashWidget::leaveEvent(QEvent*)
{
    m_player.pointerLeave();
    afterInput();
}

void FlashWidget::wheelEvent(QWheelEvent* event)
{
    // Three lines a notch, as desktop systems scroll.
    const int delta = event->angleDelta().y() / 40;
    if (delta != 0) {
        m_player.wheel(delta);
        afterInput();
    }
}

bool FlashWidget::clipboardShortcut(QKeyEvent* event)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut)) {
        const std::u32string selected = m_player.selectedText();
        if (!selected.empty() && clipboard)
            clipboard->setText(QString::fromUcs4(selected.data(), qsizetype(selected.size())));
        if (event->matches(QKeySequence::Cut))
            m_player.deleteSelection();
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        if (clipboard)
            m_player.typeText(clipboard->text().toStdU32String());
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        m_player.selectAll();
        return true;
    }
    return false;
}

void FlashWidget::keyPressEvent(QKeyEvent* event)
{
    if (!clipboardShortcut(event))
        m_player.keyEvent(movieKeyEvent(*event, KeyDirection::Down));
    afterInput();
}

void FlashWidget::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        m_player.typeText(event->commitString().toStdU32String());
    afterInput();
}

QVariant FlashWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return testAttribute(Qt::WA_InputMethodEnabled);
    return QWidget::inputMethodQuery(query);
}

void FlashWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat())
        return; // a held key goes down again and again, and up once
    m_player.keyEvent(movieKeyEvent(*event, KeyDirection::Up));
    afterInput();
}

} // namespace flash
