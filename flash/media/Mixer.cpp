// Voices are summed in 32 bits and clipped once at the end.
#include "flash/media/Mixer.h"

#include <algorithm>

namespace flash::media {

void Mixer::startSound(uint32_t soundKey, std::shared_ptr<const Pcm> pcm, const SoundInfo& info, SoundOrigin origin)
{
    if (info.stop) {
        stopSound(soundKey);
        return;
    }
    if ((info.noMultiple && isPlaying(soundKey)) || !pcm || pcm->isEmpty())
        return;
    if (m_voices.size() >= kMaxVoices)
        m_voices.erase(m_voices.begin()); // the oldest gives way
    Voice voice;
    voice.key = soundKey;
    voice.origin = origin;
    voice.pcm = std::move(pcm);
    voice.end = voice.pcm->frames();
    if (info.outPoint)
        voice.end = std::min<size_t>(voice.end, *info.outPoint);
    if (info.inPoint)
        voice.begin = std::min<size_t>(*info.inPoint, voice.end);
    voice.position = voice.begin;
    voice.loopsLeft = std::max<uint32_t>(info.loops, 1);
    voice.envelope = info.envelope;
    if (voice.begin < voice.end)
        m_voices.push_back(std::move(voice));
}

void Mixer::stopSound(uint32_t soundKey)
{
    std::erase_if(m_voices, [soundKey](const Voice& v) { return v.key == soundKey; });
}

void Mixer::stopOwner(uint64_t owner)
{
    std::erase_if(m_voices, [owner](const Voice& v) { return v.origin.owner == owner; });
}

std::optional<size_t> Mixer::positionOf(uint32_t token) const
{
    for (const Voice& v : m_voices) {
        if (v.origin.token == token && token != 0)
            return v.position;
    }
    return std::nullopt;
}

void Mixer::setGains(uint64_t owner, double left, double right)
{
    const auto gain = [](double g) { return int32_t(std::clamp(g, 0.0, 10.0) * 32768); };
    m_levels[owner] = Level{gain(left), gain(right)};
}

std::vector<uint64_t> Mixer::owners() const
{
    std::vector<uint64_t> found;
    for (const Voice& v : m_voices)
        found.push_back(v.origin.owner);
    for (const Stream& s : m_streams)
        found.push_back(s.key);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

Mixer::Level Mixer::levelOf(uint64_t owner) const
{
    const auto it = m_levels.find(owner);
    return it == m_levels.end() ? Level{} : it->second;
}

void Mixer::stopAll()
{
    m_voices.clear();
    m_streams.clear();
}

bool Mixer::isPlaying(uint32_t soundKey) const
{
    return std::any_of(m_voices.begin(), m_voices.end(), [soundKey](const Voice& v) { return v.key == soundKey; });
}

void Mixer::queueStream(uint64_t streamKey, Pcm block)
{
    auto it = std::find_if(m_streams.begin(), m_streams.end(), [streamKey](const Stream& s) { return s.key == streamKey; });
    if (it == m_streams.end())
        it = m_streams.insert(m_streams.end(), Stream{streamKey, {}});
    // A stream that fell far behind drops its oldest samples rather than grow without end.
    constexpr size_t kMaxBacklog = size_t(kMixRate) * 2 * 30;
    it->samples.insert(it->samples.end(), block.samples.begin(), block.samples.end());
    if (it->samples.size() > kMaxBacklog)
        it->samples.erase(it->samples.begin(), it->samples.begin() + ptrdiff_t(it->samples.size() - kMaxBacklog));
}

void Mixer::stopStream(uint64_t streamKey)
{
    std::erase_if(m_streams, [streamKey](const Stream& s) { return s.key == streamKey; });
}

bool Mixer::hasStream(uint64_t streamKey) const
{
    return std::any_of(m_streams.begin(), m_streams.end(), [streamKey](const Stream& s) { return s.key == streamKey; });
}

size_t Mixer::streamBacklog(uint64_t streamKey) const
{
    for (const Stream& s : m_streams) {
        if (s.key == streamKey)
            return s.samples.size() / 2;
    }
    return 0;
}

void Mixer::envelopeAt(const std::vector<EnvelopePoint>& envelope, size_t position, int32_t& left, int32_t& right)
{
    left = right = 32768;
    if (envelope.empty())
        return;
    if (position <= envelope.front().position) {
        left = envelope.front().left;
        right = envelope.front().right;
        return;
    }
    for (size_t i = 1; i < envelope.size(); ++i) {
        const EnvelopePoint& a = envelope[i - 1];
        const EnvelopePoint& b = envelope[i];
        if (position <= b.position) {
            const double t = b.position > a.position ? double(position - a.position) / double(b.position - a.position) : 1;
            left = int32_t(a.left + (double(b.left) - a.left) * t);
            right = int32_t(a.right + (double(b.right) - a.right) * t);
            return;
        }
    }
    left = envelope.back().left;
    right = envelope.back().right;
}

void Mixer::mixVoice(Voice& voice, int32_t* sum, size_t frames)
{
    const int16_t* samples = voice.pcm->samples.data();
    for (size_t i = 0; i < frames && voice.loopsLeft > 0; ++i) {
        if (voice.position >= voice.end) {
            if (--voice.loopsLeft == 0)
                break;
            voice.position = voice.begin;
        }
        int32_t left = 32768, right = 32768;
        if (!voice.envelope.empty())
            envelopeAt(voice.envelope, voice.played, left, right);
        sum[2 * i] += int32_t((int64_t(samples[2 * voice.position]) * left) >> 15);
        sum[2 * i + 1] += int32_t((int64_t(samples[2 * voice.position + 1]) * right) >> 15);
        ++voice.position;
        ++voice.played;
    }
}

void Mixer::mix(int16_t* out, size_t frames)
{
    std::vector<int32_t> sum(frames * 2, 0);
    std::vector<int32_t> voiceSum;
    for (Voice& voice : m_voices) {
        // Owner 0's level is the whole mix's, applied once at the end.
        const Level level = voice.origin.owner ? levelOf(voice.origin.owner) : Level{};
        if (level.left == 32768 && level.right == 32768) {
            mixVoice(voice, sum.data(), frames);
            continue;
        }
        voiceSum.assign(frames * 2, 0);
        mixVoice(voice, voiceSum.data(), frames);
        for (size_t i = 0; i < frames; ++i) {
            sum[2 * i] += int32_t((int64_t(voiceSum[2 * i]) * level.left) >> 15);
            sum[2 * i + 1] += int32_t((int64_t(voiceSum[2 * i + 1]) * level.right) >> 15);
        }
    }
    std::erase_if(m_voices, [this](const Voice& v) {
        const bool done = v.loopsLeft == 0 || (v.loopsLeft == 1 && v.position >= v.end);
        if (done && v.origin.token != 0)
            m_finished.push_back(v.origin.token);
        return done;
    });
    for (Stream& stream : m_streams) {
        const size_t available = std::min(stream.samples.size(), frames * 2);
        const Level level = levelOf(stream.key);
        for (size_t i = 0; i < available; ++i)
            sum[i] += int32_t((int64_t(stream.samples[i]) * (i % 2 ? level.right : level.left)) >> 15);
        stream.samples.erase(stream.samples.begin(), stream.samples.begin() + ptrdiff_t(available));
    }
    const Level whole = levelOf(0);
    for (size_t i = 0; i < frames * 2; ++i) {
        const int32_t gain = i % 2 ? whole.right : whole.left;
        out[i] = int16_t(std::clamp(int32_t((int64_t(sum[i]) * gain) >> 15), -32768, 32767));
    }
    m_framesMixed += frames;
}

} // namespace flash::media
