// The sink reads from a small QIODevice that mixes on demand.
#include "flash/widget/AudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>
#include <vector>

namespace flash {

namespace {
constexpr int kRate = 44100;
constexpr qsizetype kBytesPerFrame = 4; // two 16-bit channels
} // namespace

class AudioOutput::Source final : public QIODevice {
public:
    explicit Source(Pull& pull) : m_pull(pull) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return kRate * kBytesPerFrame; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 frames = std::min<qint64>(maxSize / kBytesPerFrame, kRate);
        if (frames <= 0)
            return 0;
        m_pull(reinterpret_cast<int16_t*>(data), size_t(frames));
        return frames * kBytesPerFrame;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    Pull& m_pull;
};

AudioOutput::AudioOutput(Pull pull)
    : m_pull(std::move(pull))
    , m_source(std::make_unique<Source>(m_pull))
{
    m_silentClock.start();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(kRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format))
        return;
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setBufferSize(2048 * kBytesPerFrame); // 46 ms: sound starts, and follows the picture, closely
    m_sink->start(m_source.get());
    if (m_sink->error() != QAudio::NoError)
        m_sink.reset();
}

AudioOutput::~AudioOutput()
{
    if (m_sink)
        m_sink->stop();
}

void AudioOutput::pump()
{
    if (m_sink)
        return;
    m_silentFramesOwed += double(m_silentClock.restart()) * kRate / 1000.0;
    // A long stall (a suspended machine) is not caught up with all at once.
    m_silentFramesOwed = std::min(m_silentFramesOwed, double(kRate));
    const size_t frames = size_t(m_silentFramesOwed);
    if (frames == 0)
        return;
    m_silentFramesOwed -= double(frames);
    std::vector<int16_t> dropped(frames * 2);
    m_pull(dropped.data(), frames);
}

} // namespace flash
