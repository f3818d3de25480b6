// One NetStream's playing of a local FLV file: its pictures into a video feed,
// its sound into the mixer as a stream, and the status codes and script data
// tags it reaches as events for the script side. Sound and picture keep to one
// media clock, which follows the script clock and is pulled towards the sound
// actually played, so that they stay together however long the file.
#pragma once

#include "flash/media/Amf0.h"
#include "flash/media/FlvFile.h"
#include "flash/media/Mixer.h"
#include "flash/stage/VideoState.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace flash {
class VideoDecoder;
}

namespace flash::media {

class PacketDecoder;

// What a script hears from the stream: onStatus with a code and level, or a
// script data tag's handler (onMetaData, onCuePoint, ...) with its values.
struct NetStreamEvent {
    std::string handler;
    std::string code, level;
    std::vector<AmfValue> args;
};

class FlvPlayback {
public:
    // `audioKey`: the mixer stream its sound plays as.
    explicit FlvPlayback(uint64_t audioKey);
    ~FlvPlayback();
    FlvPlayback(const FlvPlayback&) = delete;
    FlvPlayback& operator=(const FlvPlayback&) = delete;

    // Plays `file` from its start; null (no such file, not FLV, refused) reports StreamNotFound.
    void play(std::unique_ptr<FlvFile> file, Mixer* mixer);
    // Pauses (true), resumes (false) or toggles (nothing).
    void pause(std::optional<bool> paused, Mixer* mixer);
    // Goes to the key frame at or before `seconds` (the media clock follows).
    void seek(double seconds, Mixer* mixer);
    void close(Mixer* mixer);
    // Brings the stream to `nowMs` on the script clock: pictures due are decoded,
    // sound is queued ahead, and what was reached is told as events.
    void update(double nowMs, Mixer* mixer);

    [[nodiscard]] std::vector<NetStreamEvent> takeEvents() { return std::exchange(m_events, {}); }
    [[nodiscard]] const std::shared_ptr<VideoFeed>& feed() const { return m_feed; }
    // Whether it plays or waits to (a paused stream counts; a stopped or closed one does not).
    [[nodiscard]] bool isPlaying() const { return m_state == State::Starting || m_state == State::Playing; }
    [[nodiscard]] bool isActive() const { return m_state == State::Starting || m_state == State::Playing || m_state == State::Paused; }
    [[nodiscard]] double timeSeconds() const { return m_positionMs / 1000; }
    [[nodiscard]] double bufferTime() const { return m_bufferTime; }
    void setBufferTime(double seconds);
    [[nodiscard]] double bufferLengthSeconds(const Mixer* mixer) const;
    [[nodiscard]] uint64_t bytesTotal() const { return m_file ? m_file->fileSize() : 0; }
    // When the next picture is due on the script clock, for a host that wakes between frames.
    [[nodiscard]] std::optional<double> nextPictureDueMs() const;

private:
    enum class State : uint8_t { Idle, Starting, Playing, Paused, Stopped };

    void status(const char* code, const char* level = "status");
    void advanceClock(double elapsedMs, Mixer* mixer);
    void queueAudio(Mixer& mixer);
    void decodeVideo();
    void reachScriptTags();
    void finishIfDone(const Mixer* mixer);
    void restartAudio(Mixer* mixer);
    [[nodiscard]] size_t firstTagAtOrAfter(FlvTag::Kind kind, double ms) const;
    [[nodiscard]] size_t nextTag(FlvTag::Kind kind, size_t from) const;
    void showPicture(const std::vector<uint8_t>& payload);

    uint64_t m_audioKey;
    State m_state = State::Idle;
    std::unique_ptr<FlvFile> m_file;
    std::shared_ptr<VideoFeed> m_feed = std::make_shared<VideoFeed>();
    std::vector<NetStreamEvent> m_events;
    double m_bufferTime = 0.1;
    double m_positionMs = 0;
    std::optional<double> m_lastNowMs;
    double m_lastTagMs = 0; // the timestamp of the file's last tag

    // Each kind of tag is reached by its own cursor (an index into the file's tags).
    size_t m_audioCursor = 0, m_videoCursor = 0, m_scriptCursor = 0;

    // Sound queued since the stream's sound last (re)started: where it began on the media clock, and how much.
    std::unique_ptr<PacketDecoder> m_audioDecoder;
    uint8_t m_audioFormatByte = 0;
    std::optional<double> m_audioStartMs;
    size_t m_audioFramesQueued = 0;

    std::unique_ptr<VideoDecoder> m_videoDecoder;
    uint8_t m_videoCodec = 0;
};

} // namespace flash::media
