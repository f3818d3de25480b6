// Plays the player's mix on the default audio device through Qt Multimedia,
// pulling 44.1 kHz stereo as the device asks for it. Without a device (a
// headless machine) the mix is pulled and dropped at the pace of the wall
// clock instead, so that sounds end on time and nothing piles up.
#pragma once

#include <QElapsedTimer>
#include <QIODevice>
#include <functional>
#include <memory>

class QAudioSink;

namespace flash {

class AudioOutput {
public:
    using Pull = std::function<void(int16_t* out, size_t frames)>;
    explicit AudioOutput(Pull pull);
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Without a device: pulls what the time since the last call is worth.
    void pump();
    [[nodiscard]] bool hasDevice() const { return m_sink != nullptr; }

private:
    class Source;
    Pull m_pull;
    std::unique_ptr<Source> m_source;
    std::unique_ptr<QAudioSink> m_sink;
    QElapsedTimer m_silentClock;
    double m_silentFramesOwed = 0;
};

} // namespace flash
