// The media clock runs on the script clock and is slewed towards the sound the
// mixer has handed out; a gap of more than kResyncMs (the sound was not pulled,
// or the machine stalled) puts it on the sound at once.
#include "flash/media/FlvPlayback.h"

#include "flash/media/SoundDecoder.h"
#include "flash/media/VideoDecoder.h"
#include "flash/media/VideoPayload.h"

#include <algorithm>
#include <cmath>

namespace flash::media {

namespace {

constexpr double kResyncMs = 150;
constexpr double kSlew = 0.05;          // of the gap to the sound clock closed at each update
constexpr double kMinAudioLeadMs = 200; // sound queued ahead of the clock, so that it never runs dry
constexpr size_t kMaxEventsPerUpdate = 256;
constexpr double kMaxBufferSeconds = 60;
constexpr double kMaxStepMs = 1000;

double framesToMs(size_t frames)
{
    return double(frames) * 1000 / kMixRate;
}

bool isScreenVideo(uint8_t codec)
{
    return codec == uint8_t(VideoCodec::ScreenVideo) || codec == uint8_t(VideoCodec::ScreenVideo2);
}

// The stream's size as a screen video picture header gives it (the codec needs it up front).
void readScreenSize(std::span<const uint8_t> data, VideoDef& def)
{
    if (data.size() < 4)
        return;
    def.width = uint16_t((data[0] & 0x0f) << 8 | data[1]);
    def.height = uint16_t((data[2] & 0x0f) << 8 | data[3]);
}

} // namespace

FlvPlayback::FlvPlayback(uint64_t audioKey)
    : m_audioKey(audioKey)
{
}

FlvPlayback::~FlvPlayback() = default;

void FlvPlayback::status(const char* code, const char* level)
{
    m_events.push_back({"onStatus", code, level, {}});
}

void FlvPlayback::play(std::unique_ptr<FlvFile> file, Mixer* mixer)
{
    close(mixer);
    if (!file) {
        status("NetStream.Play.StreamNotFound", "error");
        return;
    }
    m_file = std::move(file);
    m_lastTagMs = m_file->tags().empty() ? 0 : double(m_file->tags().back().timestampMs);
    m_state = State::Starting;
}

void FlvPlayback::close(Mixer* mixer)
{
    if (mixer)
        mixer->stopStream(m_audioKey);
    m_file.reset();
    m_state = State::Idle;
    m_positionMs = 0;
    m_lastNowMs.reset();
    m_audioCursor = m_videoCursor = m_scriptCursor = 0;
    m_audioDecoder.reset();
    m_audioStartMs.reset();
    m_videoDecoder.reset();
}

void FlvPlayback::pause(std::optional<bool> paused, Mixer* mixer)
{
    if (!m_file || m_state == State::Idle)
        return;
    const bool isPaused = m_state == State::Paused;
    const bool wanted = paused.value_or(!isPaused);
    if (wanted == isPaused || m_state == State::Stopped)
        return;
    m_state = wanted ? State::Paused : State::Playing;
    m_lastNowMs.reset();
    restartAudio(mixer);
}

void FlvPlayback::seek(double seconds, Mixer* mixer)
{
    if (!m_file)
        return;
    if (!std::isfinite(seconds) || seconds < 0) {
        status("NetStream.Seek.InvalidTime", "error");
        return;
    }
    const double target = std::min(seconds * 1000, m_lastTagMs);
    const auto& tags = m_file->tags();
    // The picture can only be rebuilt from a key frame: the clock goes to the last one at or before the target.
    std::optional<size_t> key;
    for (size_t i = 0; i < tags.size() && tags[i].timestampMs <= target; ++i) {
        if (tags[i].kind == FlvTag::Kind::Video && tags[i].keyFrame)
            key = i;
    }
    m_positionMs = key ? double(tags[*key].timestampMs) : target;
    m_videoCursor = key ? *key : firstTagAtOrAfter(FlvTag::Kind::Video, m_positionMs);
    m_scriptCursor = firstTagAtOrAfter(FlvTag::Kind::Script, m_positionMs);
    if (m_videoDecoder)
        m_videoDecoder->reset();
    if (m_state == State::Stopped)
        m_state = State::Playing;
    m_lastNowMs.reset();
    restartAudio(mixer);
    // The picture at the new place shows at once, paused or not.
    decodeVideo();
    status("NetStream.Seek.Notify");
}

void FlvPlayback::setBufferTime(double seconds)
{
    if (std::isfinite(seconds))
        m_bufferTime = std::clamp(seconds, 0.0, kMaxBufferSeconds);
}

double FlvPlayback::bufferLengthSeconds(const Mixer* mixer) const
{
    if (!m_file || m_state == State::Stopped || m_state == State::Idle)
        return 0;
    const double queued = mixer ? framesToMs(mixer->streamBacklog(m_audioKey)) : 0;
    // A local file is all there: what the buffer holds is what it asks for, up to the file's end.
    const double left = std::max(0.0, m_lastTagMs - m_positionMs);
    return std::max(queued, std::min(m_bufferTime * 1000, left)) / 1000;
}

std::optional<double> FlvPlayback::nextPictureDueMs() const
{
    if (m_state != State::Playing || !m_file || !m_lastNowMs)
        return std::nullopt;
    const size_t next = nextTag(FlvTag::Kind::Video, m_videoCursor);
    if (next >= m_file->tags().size())
        return std::nullopt;
    return *m_lastNowMs + std::max(0.0, double(m_file->tags()[next].timestampMs) - m_positionMs);
}

size_t FlvPlayback::nextTag(FlvTag::Kind kind, size_t from) const
{
    const auto& tags = m_file->tags();
    while (from < tags.size() && tags[from].kind != kind)
        ++from;
    return from;
}

size_t FlvPlayback::firstTagAtOrAfter(FlvTag::Kind kind, double ms) const
{
    const auto& tags = m_file->tags();
    size_t i = 0;
    while (i < tags.size() && (tags[i].kind != kind || double(tags[i].timestampMs) < ms))
        ++i;
    return i;
}

void FlvPlayback::restartAudio(Mixer* mixer)
{
    if (mixer)
        mixer->stopStream(m_audioKey);
    m_audioStartMs.reset();
    m_audioFramesQueued = 0;
    m_audioDecoder.reset();
    if (m_file)
        m_audioCursor = firstTagAtOrAfter(FlvTag::Kind::Audio, m_positionMs);
}

void FlvPlayback::update(double nowMs, Mixer* mixer)
{
    if (!m_file)
        return;
    // A host that stopped calling (the movie was stopped) does not make the stream jump on.
    const double elapsed = m_lastNowMs ? std::clamp(nowMs - *m_lastNowMs, 0.0, kMaxStepMs) : 0.0;
    m_lastNowMs = nowMs;
    if (m_state == State::Starting) {
        status("NetStream.Play.Start");
        // A local file fills any buffer at once.
        status("NetStream.Buffer.Full");
        m_state = State::Playing;
    } else if (m_state == State::Playing) {
        advanceClock(elapsed, mixer);
    }
    if (m_state != State::Playing)
        return;
    if (mixer)
        queueAudio(*mixer);
    decodeVideo();
    reachScriptTags();
    finishIfDone(mixer);
}

void FlvPlayback::advanceClock(double elapsedMs, Mixer* mixer)
{
    m_positionMs += elapsedMs;
    if (!m_audioStartMs || !mixer || !mixer->hasStream(m_audioKey))
        return;
    const size_t backlog = mixer->streamBacklog(m_audioKey);
    if (backlog == 0)
        return; // the sound ran out (its end, or a gap): the script clock alone goes on
    const double heard = *m_audioStartMs + framesToMs(m_audioFramesQueued - std::min(backlog, m_audioFramesQueued));
    const double gap = heard - m_positionMs;
    m_positionMs += std::abs(gap) > kResyncMs ? gap : gap * kSlew;
    if (std::abs(gap) > kResyncMs && gap < 0) {
        // The sound lags far behind (it was not pulled): it starts again where the clock is.
        restartAudio(mixer);
    }
}

void FlvPlayback::queueAudio(Mixer& mixer)
{
    const auto& tags = m_file->tags();
    const double lead = std::max(kMinAudioLeadMs, m_bufferTime * 1000);
    for (size_t guard = 0; guard < 4096; ++guard) {
        m_audioCursor = nextTag(FlvTag::Kind::Audio, m_audioCursor);
        if (m_audioCursor >= tags.size())
            return;
        const FlvTag& tag = tags[m_audioCursor];
        const double tagMs = double(tag.timestampMs);
        // The first sound of a run starts when the clock reaches it; after that it follows on, queued ahead.
        const double queuedUntil = m_audioStartMs ? *m_audioStartMs + framesToMs(m_audioFramesQueued) : tagMs;
        if ((!m_audioStartMs && tagMs > m_positionMs) || queuedUntil > m_positionMs + lead)
            return;
        ++m_audioCursor;
        const std::vector<uint8_t> payload = m_file->payload(tag);
        if (payload.empty())
            continue;
        if (!m_audioDecoder || payload[0] != m_audioFormatByte) {
            m_audioDecoder = std::make_unique<PacketDecoder>(soundFormatOfFlvByte(payload[0]));
            m_audioFormatByte = payload[0];
        }
        Pcm pcm = m_audioDecoder->decode(std::span(payload).subspan(1));
        if (pcm.isEmpty())
            continue;
        if (!m_audioStartMs) {
            // Sound that begins before the clock (after a seek or a pause) loses what is past.
            const size_t late = std::min(pcm.frames(), size_t(std::max(0.0, m_positionMs - tagMs) * kMixRate / 1000));
            pcm.samples.erase(pcm.samples.begin(), pcm.samples.begin() + ptrdiff_t(late * 2));
            m_audioStartMs = std::max(tagMs, m_positionMs);
        }
        m_audioFramesQueued += pcm.frames();
        mixer.queueStream(m_audioKey, std::move(pcm));
    }
}

void FlvPlayback::decodeVideo()
{
    const auto& tags = m_file->tags();
    // Far behind (a stall, a long frame): decoding starts again from the last key frame that is due.
    size_t from = m_videoCursor;
    for (size_t i = m_videoCursor; i < tags.size() && double(tags[i].timestampMs) <= m_positionMs; ++i) {
        if (tags[i].kind == FlvTag::Kind::Video && tags[i].keyFrame)
            from = i;
    }
    if (from != m_videoCursor && m_videoDecoder)
        m_videoDecoder->reset();
    m_videoCursor = from;
    for (size_t guard = 0; guard < 1024; ++guard) {
        m_videoCursor = nextTag(FlvTag::Kind::Video, m_videoCursor);
        if (m_videoCursor >= tags.size() || double(tags[m_videoCursor].timestampMs) > m_positionMs)
            break;
        showPicture(m_file->payload(tags[m_videoCursor]));
        ++m_videoCursor;
    }
}

void FlvPlayback::showPicture(const std::vector<uint8_t>& payload)
{
    if (payload.size() < 2)
        return;
    const uint8_t codec = payload[0] & 0x0f;
    const uint8_t frameType = payload[0] >> 4;
    if (frameType == 5)
        return; // an information frame, with no picture
    const std::span<const uint8_t> data = std::span(payload).subspan(1);
    if (!m_videoDecoder || codec != m_videoCodec) {
        VideoDef def;
        def.codec = codec;
        if (isScreenVideo(codec))
            readScreenSize(data, def);
        m_videoDecoder = VideoDecoder::create(def);
        m_videoCodec = codec;
        if (!m_videoDecoder)
            return; // a codec this player does not decode: no picture
    }
    VideoDef shape;
    shape.codec = codec;
    if (isScreenVideo(codec))
        readScreenSize(data, shape);
    DecodedVideoFrame frame = m_videoDecoder->decode(readPayload(shape, data));
    if (frame.picture.isEmpty())
        return;
    m_feed->picture = std::make_shared<const VideoPicture>(std::move(frame.picture));
    ++m_feed->serial;
}

void FlvPlayback::reachScriptTags()
{
    const auto& tags = m_file->tags();
    for (size_t sent = 0; sent < kMaxEventsPerUpdate; ++sent) {
        m_scriptCursor = nextTag(FlvTag::Kind::Script, m_scriptCursor);
        if (m_scriptCursor >= tags.size() || double(tags[m_scriptCursor].timestampMs) > m_positionMs)
            return;
        const std::vector<uint8_t> payload = m_file->payload(tags[m_scriptCursor]);
        ++m_scriptCursor;
        if (auto call = readScriptTag(payload))
            m_events.push_back({std::move(call->first), {}, {}, std::move(call->second)});
    }
}

void FlvPlayback::finishIfDone(const Mixer* mixer)
{
    const size_t end = m_file->tags().size();
    const bool allReached = nextTag(FlvTag::Kind::Audio, m_audioCursor) >= end
                            && nextTag(FlvTag::Kind::Video, m_videoCursor) >= end
                            && nextTag(FlvTag::Kind::Script, m_scriptCursor) >= end;
    const bool soundDone = !mixer || mixer->streamBacklog(m_audioKey) == 0;
    if (!allReached || !soundDone || m_positionMs < m_lastTagMs)
        return;
    status("NetStream.Buffer.Flush");
    status("NetStream.Play.Stop");
    status("NetStream.Buffer.Empty");
    m_state = State::Stopped;
}

} // namespace flash::media
