// Converts samples of any rate, layout and sample format to the mixer's PCM.
#pragma once

#include "flash/media/LibavHandles.h"
#include "flash/media/Pcm.h"

namespace flash::media {

class Resampler {
public:
    // Appends `frames` input frames (planar formats: one pointer a channel) to `out`.
    // Output past `maxFrames` in all is dropped, so no sound can take unbounded memory.
    void convert(const uint8_t* const* data, int frames, int rate, int channels, AVSampleFormat format, Pcm& out);

    static constexpr size_t kMaxFrames = size_t(kMixRate) * 60 * 10; // ten minutes

private:
    bool configure(int rate, int channels, AVSampleFormat format);

    ResamplerPtr m_context;
    int m_rate = 0, m_channels = 0;
    AVSampleFormat m_format = AV_SAMPLE_FMT_NONE;
};

} // namespace flash::media
