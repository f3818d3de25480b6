// Loads, steps and draws a movie, containing any failure of a stage to that stage.
#include "flash/player/Player.h"

#include "flash/io/LocalUrl.h"
#include "flash/player/LocalMovies.h"
#include "flash/scripting/FrameTick.h"
#include "flash/scripting/ScriptRuntime.h"
#include "flash/scripting/StageClass.h"
#include "flash/stage/FrameControlScripts.h"
#include "flash/stage/LocalBounds.h"
#include "flash/text/TextField.h"

#include <QLoggingCategory>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <exception>

Q_LOGGING_CATEGORY(lcPlayer, "flash.player", QtWarningMsg)

namespace flash {

Player::Player(PlayerSettings settings) : m_settings(settings) { }

// Parts go in the order unload() keeps: scripts let go of the mixer before it goes.
Player::~Player()
{
    unload();
}

bool Player::loadFile(const std::string& path)
{
    try {
        if (!adopt(loadMovieFile(path)))
            return false;
        // The movie reads its companion files (video, sound) from its own folder.
        std::error_code error;
        const std::filesystem::path file = std::filesystem::absolute(path, error);
        if (!error)
            m_stage->setOrigin(fileUrlOf(file), file.parent_path());
        return true;
    } catch (const std::exception& error) {
        fail("load", error.what());
    }
    return false;
}

bool Player::loadBytes(std::span<const uint8_t> bytes)
{
    try {
        return adopt(loadMovie(bytes));
    } catch (const std::exception& error) {
        fail("load", error.what());
    }
    return false;
}

bool Player::adopt(std::expected<std::shared_ptr<const Movie>, LoadError> loaded)
{
    unload();
    if (!loaded || !*loaded) {
        m_loadError = loaded ? std::string("no movie") : loaded.error().message;
        return false;
    }
    m_movie = std::move(*loaded);
    m_stage = std::make_unique<Stage>(m_movie);
    m_stage->setEditTextMaker(text::TextField::maker());
    m_stage->setLooping(m_settings.looping);
    if (m_settings.startPlaying == StartPlaying::No)
        Stage::stop(m_stage->root());
    m_loadedAt = std::chrono::steady_clock::now();
    m_ticks = 0;
    if (m_movie->usesActionScript3()) {
        m_frameControl = std::make_unique<FrameControlScripts>();
        m_scripts = m_frameControl.get();
    } else {
        m_runtime = std::make_unique<ScriptRuntime>(*m_stage, m_movie, m_settings.scriptOutput,
                                                    [this] { return scriptTimeMs(); });
        m_runtime->setTimeLimit(m_settings.scriptTimeLimit);
        m_scripts = m_runtime.get();
    }
    m_workToSettle = true;
    m_renderer = std::make_unique<Renderer>(m_movie);
    m_renderer->setQuality(m_settings.quality);
    m_mixer = std::make_unique<media::Mixer>();
    m_sound = std::make_unique<media::SoundStage>(m_movie);
    if (m_runtime)
        m_runtime->sounds().connect(m_mixer.get(), m_sound.get());
    if (m_runtime) {
        const uint8_t version = m_movie->header.version;
        const double frameRate = m_movie->header.frameRate;
        m_runtime->movieLoads().setSource([version, frameRate](const std::filesystem::path& path) {
            return readLocalMovie(path, version, frameRate);
        });
        m_runtime->host().setUrlOpener(m_settings.openUrl);
        installBitmapSeams();
        m_runtime->host().setShapeHitTest([this](const DisplayObject& object, Point stagePoint) {
            return m_renderer && m_stage && m_renderer->hitTest(object, m_stage->movieOf(object), stagePoint);
        });
    }
    m_clock.setFrameRate(m_movie->header.frameRate);
    m_clock.start();
    return true;
}

// BitmapData draws clips and reads the movie's bitmaps through the renderer.
void Player::installBitmapSeams()
{
    StageHost& host = m_runtime->host();
    host.setSurfaceDrawer([this](BitmapSurface& target, const DisplayObject& source, const Matrix& matrix,
                                 const ColorTransform& transform, BlendMode blend, const std::optional<Rect>& clip,
                                 bool smoothing) {
        if (!m_renderer || !m_stage || target.isEmpty())
            return;
        QImage image(reinterpret_cast<uchar*>(target.pixels.data()), target.width, target.height,
                     QImage::Format_ARGB32_Premultiplied);
        const QRect clipRect = clip ? QRect(clip->xMin, clip->yMin, clip->width(), clip->height()) : QRect();
        m_renderer->drawObjectInto(image, source, m_stage->movieOf(source), matrix, transform, blend, clipRect, smoothing);
        if (!target.transparent) {
            for (uint32_t& pixel : target.pixels)
                pixel |= 0xFF000000u;
        }
        target.changed();
    });
    host.setBitmapReader([this](const Movie& movie, uint16_t id) -> std::shared_ptr<BitmapSurface> {
        if (!m_renderer)
            return nullptr;
        const QImage decoded = m_renderer->bitmap(movie, id);
        const QImage image = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return nullptr;
        auto surface = std::make_shared<BitmapSurface>();
        surface->width = image.width();
        surface->height = image.height();
        surface->transparent = decoded.hasAlphaChannel();
        surface->pixels.resize(size_t(image.width()) * size_t(image.height()));
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
            std::copy(row, row + image.width(), surface->row(y));
        }
        return surface;
    });
}

void Player::unload()
{
    m_clock.stop();
    m_changes.reset();
    m_renderer.reset();
    if (m_runtime)
        m_runtime->sounds().connect(nullptr, nullptr);
    m_sound.reset();
    m_mixer.reset();
    // Scripts go before the stage their objects stand for.
    m_scripts = nullptr;
    m_runtime.reset();
    m_frameControl.reset();
    m_stage.reset();
    m_movie.reset();
    m_pointer = PointerTracker();
    m_loadError.clear();
}

void Player::fail(const char* stage, const char* what)
{
    // A stage that fails leaves nothing half-done behind: the movie is dropped.
    qCWarning(lcPlayer, "%s failed: %s; movie unloaded", stage, what);
    unload();
    m_loadError = std::string(stage) + " failed: " + what;
}

void Player::play()
{
    if (m_stage)
        Stage::play(m_stage->root());
    if (m_runtime)
        m_runtime->netStreams().hold(false);
}

void Player::stop()
{
    if (m_stage)
        Stage::stop(m_stage->root());
    // The host's stop silences the movie at once; its video streams wait for play.
    if (m_runtime)
        m_runtime->netStreams().hold(true);
    if (m_mixer)
        m_mixer->stopAll();
}

bool Player::isPlaying() const
{
    return m_stage && m_stage->root().clip->playing;
}

void Player::gotoFrame(int64_t frame)
{
    if (!m_stage)
        return;
    const int64_t count = m_stage->root().clip->frameCount();
    if (count == 0)
        return;
    try {
        m_stage->gotoFrame(m_stage->root(), uint32_t(std::clamp<int64_t>(frame, 0, count - 1)));
        // The frame's actions run when the host settles, as a freshly loaded movie's do.
        m_workToSettle = m_workToSettle || m_stage->hasPendingWork();
    } catch (const std::exception& error) {
        fail("goto", error.what());
    }
}

int32_t Player::currentFrame() const
{
    return m_stage ? int32_t(std::min<uint32_t>(m_stage->root().clip->currentFrame, INT32_MAX)) : 0;
}

int32_t Player::totalFrames() const
{
    return m_stage ? int32_t(std::min<uint32_t>(m_stage->root().clip->frameCount(), INT32_MAX)) : 0;
}

void Player::settle()
{
    if (!m_stage || !m_workToSettle)
        return;
    m_workToSettle = false;
    try {
        ++m_ticks;
        runFrameTick(*m_stage, *m_scripts, m_runtime.get(), TickStart::Settle);
        updateSound();
    } catch (const std::exception& error) {
        fail("scripts", error.what());
    }
}

void Player::advanceFrame()
{
    settle();
    if (!m_stage)
        return;
    try {
        ++m_ticks;
        runFrameTick(*m_stage, *m_scripts, m_runtime.get(), TickStart::Advance);
        updateSound();
        refreshPointer();
    } catch (const std::exception& error) {
        fail("advance", error.what());
    }
}

void Player::updateSound()
{
    if (!m_stage || !m_sound || !m_mixer)
        return;
    m_sound->handleCues(*m_stage, *m_mixer);
    m_sound->checkStreams(*m_stage, *m_mixer);
    if (m_runtime) {
        m_runtime->sounds().update();
        m_runtime->sounds().applyLevels();
        m_runtime->sounds().finished(m_mixer->takeFinished());
        m_stage->runPendingWork(*m_scripts);
    }
}

void Player::mixAudio(int16_t* out, size_t frames)
{
    if (m_mixer) {
        m_mixer->mix(out, frames);
        return;
    }
    std::fill(out, out + frames * 2, int16_t(0));
}

void Player::refreshPointer()
{
    if (m_runtime && m_stage && m_pointerInside)
        runTransitions(m_pointer.move(*m_stage, m_runtime->pointer(), m_pointer.position()));
}

void Player::tick()
{
    if (m_workToSettle)
        settle();
    else
        advanceFrame();
}

double Player::scriptTimeMs() const
{
    if (m_settings.scriptClock == ScriptClock::Ticks)
        return double(m_ticks > 0 ? m_ticks - 1 : 0) * 1000.0 / FrameClock::sanitizedRate(m_movie ? m_movie->header.frameRate : 0);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_loadedAt).count();
}

std::optional<size_t> Player::streamBacklog() const
{
    if (!m_stage || !m_mixer || !m_stage->root().clip->playing || !m_stage->root().clip->timeline
        || !m_stage->root().clip->timeline->soundStream)
        return std::nullopt;
    const uint64_t key = m_stage->root().id;
    if (!m_mixer->hasStream(key))
        return std::nullopt;
    return m_mixer->streamBacklog(key);
}

uint32_t Player::advanceDueFrames()
{
    if (!m_stage)
        return 0;
    // While the main timeline streams sound, the sound sets the pace: a frame
    // comes when what the last one queued is nearly played. Drawing may skip
    // frames; the timeline and its actions never do.
    if (streamBacklog()) {
        constexpr uint32_t kMaxFramesAtOnce = 8;
        const size_t lowWater = size_t(media::kMixRate / FrameClock::sanitizedRate(m_movie->header.frameRate) / 2);
        uint32_t advanced = 0;
        for (auto backlog = streamBacklog(); backlog && *backlog < lowWater && advanced < kMaxFramesAtOnce && m_stage;
             backlog = streamBacklog()) {
            advanceFrame();
            ++advanced;
        }
        m_clock.start(); // the frame clock takes over from here if the stream ends
        return advanced;
    }
    const uint32_t due = m_clock.takeDueFrames();
    for (uint32_t i = 0; i < due && m_stage; ++i)
        advanceFrame();
    return due;
}

std::optional<std::chrono::milliseconds> Player::timeUntilNextTimer() const
{
    if (!m_runtime || !m_stage)
        return std::nullopt;
    const auto due = m_runtime->nextTimerDueMs();
    if (!due)
        return std::nullopt;
    return std::chrono::milliseconds(int64_t(std::clamp(std::ceil(*due - scriptTimeMs()), 0.0, 86'400'000.0)));
}

bool Player::runDueTimers()
{
    const auto wait = timeUntilNextTimer();
    if (!wait || wait->count() > 0)
        return false;
    handleInput("timers", [&] { m_runtime->finishTick(); });
    return true;
}

QRegion Player::takeChangedRegion(QSize viewSize)
{
    if (!m_stage || !m_renderer) {
        m_changes.reset();
        return QRegion(QRect(QPoint(0, 0), viewSize));
    }
    const Matrix toView = Renderer::stageToView(m_movie->header.stage, viewSize, m_stage->playerSettings().layout);
    const DisplayObject* focused = m_runtime ? m_runtime->focus().focused() : nullptr;
    return m_changes.take(*m_stage, toView, viewSize, focused);
}

void Player::render(QPainter& painter, QSize viewSize)
{
    if (!m_renderer || !m_stage) {
        painter.fillRect(QRect(QPoint(0, 0), viewSize), Qt::white);
        return;
    }
    try {
        painter.save();
        m_renderer->setDictionaryFrame(m_stage->root().clip->currentFrame);
        m_renderer->setLayout(m_stage->playerSettings().layout);
        const std::vector<const DisplayObject*> levels = m_stage->levels();
        m_renderer->render(painter, levels, viewSize);
        drawFocusRectangle(painter, viewSize);
        painter.restore();
    } catch (const std::exception& error) {
        painter.restore();
        qCWarning(lcPlayer, "render failed: %s", error.what());
        const Rgba bg = m_movie->backgroundColor;
        painter.fillRect(QRect(QPoint(0, 0), viewSize), QColor(bg.r, bg.g, bg.b));
    }
}

// A button or clip that Tab gave the focus shows a yellow rectangle around it, unless _focusrect is off.
void Player::drawFocusRectangle(QPainter& painter, QSize viewSize)
{
    if (!m_runtime || !m_runtime->host().input().focusFromKeyboard || !m_stage->playerSettings().focusRect)
        return;
    const DisplayObject* focused = m_runtime->focus().focused();
    if (!focused || focused->editText)
        return;
    const auto bounds = contentBounds(*m_movie, *focused, toStage(*focused));
    if (!bounds)
        return;
    const Matrix toView = Renderer::stageToView(m_movie->header.stage, viewSize, m_stage->playerSettings().layout);
    const Rect r = mappedRect(toView, *bounds);
    painter.resetTransform();
    painter.setPen(QPen(QColor(255, 255, 0), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(r.xMin, r.yMin, r.xMax - r.xMin, r.yMax - r.yMin));
}

QImage Player::renderImage(QSize viewSize)
{
    QImage image(viewSize.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    render(painter, viewSize);
    return image;
}

QSize Player::stageSize() const
{
    if (!m_movie)
        return {};
    const Rect& stage = m_movie->header.stage;
    auto pixels = [](int32_t twips) { return int(std::lround(std::clamp(twips / kTwipsPerPixel, 0.0, 16384.0))); };
    return QSize(pixels(stage.width()), pixels(stage.height()));
}

const DisplayList* Player::displayList() const
{
    return m_stage ? &m_stage->displayList() : nullptr;
}

// ---- Input ----

void Player::finishEvent()
{
    // The shown frame's own work runs first, when the host settles it.
    if (!m_stage || !m_runtime || m_workToSettle)
        return;
    m_stage->runPendingWork(*m_scripts);
    m_runtime->host().publishDrawings();
    m_stage->finishRemovals(*m_scripts);
}

void Player::runTransitions(const PointerTracker::Transitions& transitions)
{
    if (!transitions.empty() && m_runtime)
        m_runtime->pointer().runTransitions(transitions);
}

// Each entry point runs its work as the tick does: what it leaves queued runs
// after it, and what a broken movie might throw drops the movie, never the host.
template<typename Work>
void Player::handleInput(const char* what, Work&& work)
{
    if (!m_stage || !m_runtime)
        return;
    try {
        work();
        finishEvent();
    } catch (const std::exception& error) {
        fail(what, error.what());
    }
}

// A click or a key: what its handlers ask of the desktop (opening a web page) may happen.
template<typename Work>
void Player::handleUserInput(const char* what, Work&& work)
{
    if (!m_runtime)
        return;
    m_runtime->host().setHandlingUserInput(true);
    handleInput(what, std::forward<Work>(work));
    if (m_runtime)
        m_runtime->host().setHandlingUserInput(false);
}

void Player::pointerMove(Point stagePoint)
{
    handleInput("pointer", [&] {
        m_pointerInside = true;
        m_stage->setMousePosition(stagePoint);
        m_runtime->pointer().followDrag(stagePoint);
        if (m_pointer.isDown())
            m_runtime->focus().pointerDragged(stagePoint);
        // Every clip hears the mouse first; then what the pointer is over hears its own transition.
        m_runtime->pointer().mouseEvent(MouseEvent::Move);
        runTransitions(m_pointer.move(*m_stage, m_runtime->pointer(), stagePoint));
    });
}

void Player::pointerLeave()
{
    if (!m_pointerInside)
        return;
    handleInput("pointer", [&] {
        // Far outside any stage: nothing is under the pointer.
        runTransitions(m_pointer.move(*m_stage, m_runtime->pointer(), Point{-1e9, -1e9}));
        m_pointerInside = false;
    });
}

void Player::pointerPress()
{
    handleUserInput("pointer", [&] {
        m_runtime->pointer().mouseEvent(MouseEvent::Down);
        runTransitions(m_pointer.press(*m_stage, m_runtime->pointer()));
        m_runtime->focus().pointerPressed(m_stage->find(m_pointer.pressed()), m_pointer.position());
    });
}

void Player::pointerRelease()
{
    handleUserInput("pointer", [&] {
        m_runtime->focus().pointerReleased();
        m_runtime->pointer().mouseEvent(MouseEvent::Up);
        runTransitions(m_pointer.release(*m_stage, m_runtime->pointer()));
    });
}

void Player::wheel(int delta)
{
    handleInput("wheel", [&] { m_runtime->pointer().wheel(delta, m_pointer.hovered()); });
}

void Player::keyEvent(const KeyEvent& event)
{
    handleUserInput("key", [&] { m_runtime->keys().keyEvent(event); });
}

void Player::typeText(std::u32string_view text)
{
    handleInput("typing", [&] { m_runtime->focus().typeText(text); });
}

std::u32string Player::selectedText()
{
    return m_runtime ? m_runtime->focus().selectedText() : std::u32string();
}

void Player::deleteSelection()
{
    handleInput("typing", [&] { m_runtime->focus().deleteSelection(); });
}

void Player::selectAll()
{
    if (m_runtime)
        m_runtime->focus().selectAll();
}

bool Player::acceptsText()
{
    return m_runtime && m_runtime->focus().acceptsText();
}

void Player::setViewSize(QSize viewSize)
{
    if (!m_stage)
        return;
    PlayerSettingsSeen& settings = m_stage->playerSettings();
    if (settings.viewWidth == viewSize.width() && settings.viewHeight == viewSize.height())
        return;
    settings.viewWidth = viewSize.width();
    settings.viewHeight = viewSize.height();
    if (!m_runtime || settings.layout.scaleMode != ScaleMode::NoScale)
        return;
    try {
        broadcastResize(m_runtime->vm());
        finishEvent();
    } catch (const std::exception& error) {
        fail("resize", error.what());
    }
}

Player::Cursor Player::cursor()
{
    if (!m_stage || !m_runtime)
        return Cursor::Arrow;
    if (m_runtime->host().input().pointerHidden)
        return Cursor::Hidden;
    const DisplayObject* over = m_stage->find(m_pointer.hovered());
    if (over && over->editText)
        return Cursor::IBeam;
    return over && m_runtime->pointer().showsHand(*over) ? Cursor::Hand : Cursor::Arrow;
}

Point Player::viewToStage(double x, double y, QSize viewSize) const
{
    if (!m_movie)
        return {};
    const StageLayout layout = m_stage ? m_stage->playerSettings().layout : StageLayout{};
    const auto inverse = Renderer::stageToView(m_movie->header.stage, viewSize, layout).inverted();
    return inverse ? inverse->map(Point{x, y}) : Point{};
}

} // namespace flash
