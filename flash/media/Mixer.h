// One mixer for the movie at 44.1 kHz stereo: event sounds with their loops,
// in and out points and envelopes, and the streams that timelines play. It is
// pulled for samples by the audio output, or by a headless run; the samples it
// has handed out are the sound clock.
#pragma once

#include "flash/media/Pcm.h"
#include "flash/media/SoundInfo.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <utility>
#include <memory>
#include <vector>

namespace flash::media {

// Who started a sound (a clip's identity, 0 for the movie) and which start it was
// (0 for timeline sounds): scripts stop, turn down and hear the end of their own.
struct SoundOrigin {
    uint64_t owner = 0;
    uint32_t token = 0;
};

class Mixer {
public:
    static constexpr size_t kMaxVoices = 32; // the reference runtime's limit on sounds at once

    // Starts an event sound (or stops it, as its info says).
    void startSound(uint32_t soundKey, std::shared_ptr<const Pcm> pcm, const SoundInfo& info, SoundOrigin origin = {});
    void stopSound(uint32_t soundKey);
    void stopOwner(uint64_t owner);
    void stopAll();
    [[nodiscard]] bool isPlaying(uint32_t soundKey) const;
    // Frames played of the start `token`, if it still plays.
    [[nodiscard]] std::optional<size_t> positionOf(uint32_t token) const;
    // The starts that have played to their end since the last call.
    [[nodiscard]] std::vector<uint32_t> takeFinished() { return std::exchange(m_finished, {}); }

    // Gains (1 is full) of each side for what `owner` plays (its sounds and its
    // stream); owner 0 sets the whole mix.
    void setGains(uint64_t owner, double left, double right);
    // The owners of what plays now.
    [[nodiscard]] std::vector<uint64_t> owners() const;

    // Appends a stream's next block; a stream that is not playing starts with it.
    void queueStream(uint64_t streamKey, Pcm block);
    void stopStream(uint64_t streamKey);
    [[nodiscard]] bool hasStream(uint64_t streamKey) const;
    // Samples of the stream queued but not yet handed out.
    [[nodiscard]] size_t streamBacklog(uint64_t streamKey) const;

    // Adds every voice into `out` (interleaved stereo, `frames` frames), which it clears first.
    void mix(int16_t* out, size_t frames);
    [[nodiscard]] uint64_t framesMixed() const { return m_framesMixed; }

private:
    struct Voice {
        uint32_t key = 0;
        SoundOrigin origin;
        std::shared_ptr<const Pcm> pcm;
        size_t position = 0;     // frames into the sound
        size_t begin = 0, end = 0;
        uint32_t loopsLeft = 1;
        size_t played = 0;       // frames played since the start (for the envelope)
        std::vector<EnvelopePoint> envelope;
    };
    struct Stream {
        uint64_t key = 0;
        std::deque<int16_t> samples;
    };

    void mixVoice(Voice& voice, int32_t* sum, size_t frames);
    static void envelopeAt(const std::vector<EnvelopePoint>& envelope, size_t position, int32_t& left, int32_t& right);

    struct Level {
        int32_t left = 32768, right = 32768; // gains, 32768 is full
    };
    [[nodiscard]] Level levelOf(uint64_t owner) const;

    std::vector<Voice> m_voices;
    std::map<uint64_t, Level> m_levels;
    std::vector<uint32_t> m_finished;
    std::vector<Stream> m_streams;
    uint64_t m_framesMixed = 0;
};

} // namespace flash::media
