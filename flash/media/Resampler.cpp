// libswresample does the work; the context is remade only when the input changes.
#include "flash/media/Resampler.h"

#include <algorithm>

namespace flash::media {

bool Resampler::configure(int rate, int channels, AVSampleFormat format)
{
    if (m_context && rate == m_rate && channels == m_channels && format == m_format)
        return true;
    m_context.reset();
    if (rate <= 0 || channels < 1 || channels > 2)
        return false;
    // Mono stays mono here and is copied to both sides after: a rematrix would lower it by 3 dB.
    AVChannelLayout in{}, out{};
    av().av_channel_layout_default(&in, channels);
    av().av_channel_layout_default(&out, channels);
    SwrContext* context = nullptr;
    if (av().swr_alloc_set_opts2(&context, &out, AV_SAMPLE_FMT_S16, kMixRate, &in, format, rate, 0, nullptr) < 0)
        return false;
    m_context.reset(context);
    if (av().swr_init(context) < 0) {
        m_context.reset();
        return false;
    }
    m_rate = rate;
    m_channels = channels;
    m_format = format;
    return true;
}

void Resampler::convert(const uint8_t* const* data, int frames, int rate, int channels, AVSampleFormat format, Pcm& out)
{
    if (frames <= 0 || out.frames() >= kMaxFrames || !configure(rate, channels, format))
        return;
    const int room = int(std::min<int64_t>(av().swr_get_out_samples(m_context.get(), frames), int64_t(kMaxFrames - out.frames())));
    if (room <= 0)
        return;
    const size_t before = out.samples.size();
    out.samples.resize(before + size_t(room) * 2);
    uint8_t* target = reinterpret_cast<uint8_t*>(out.samples.data() + before);
    const int made = std::max(av().swr_convert(m_context.get(), &target, room, const_cast<const uint8_t**>(data), frames), 0);
    if (channels == 1) {
        // Spread the mono samples, packed at the front, to both sides, from the end backwards.
        int16_t* at = out.samples.data() + before;
        for (int i = made - 1; i >= 0; --i)
            at[2 * i] = at[2 * i + 1] = at[i];
    }
    out.samples.resize(before + size_t(made) * 2);
}

} // namespace flash::media
