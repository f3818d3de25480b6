// Turns a movie's sound bytes into PCM at the mixer's rate: uncompressed,
// ADPCM, MP3, Nellymoser and Speex through libavcodec, resampled by
// libswresample. What cannot be decoded comes out as silence of its length,
// or nothing when its length is unknown; nothing here fails the movie.
#pragma once

#include "flash/media/Pcm.h"
#include "flash/model/DisplayTags.h"

#include <memory>
#include <span>

namespace flash::media {

// A whole sound (DefineSound). `sampleCount` is the sound's own length in samples per channel.
[[nodiscard]] Pcm decodeSound(const SoundFormat& format, std::span<const uint8_t> data, uint32_t sampleCount);

class AudioCodec;
class Resampler;

// A streamed sound, one block a frame; codec state runs on from block to block.
class StreamDecoder {
public:
    explicit StreamDecoder(const SoundStreamHead& head);
    ~StreamDecoder();
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    // The PCM of one SoundStreamBlock (silence of the block's length when it cannot be decoded).
    [[nodiscard]] Pcm decodeBlock(std::span<const uint8_t> block);

private:
    SoundStreamHead m_head;
    std::unique_ptr<AudioCodec> m_codec;
    std::unique_ptr<Resampler> m_resampler; // uncompressed streams
    bool m_firstBlock = true;
};

// The sample rate a format's rate field stands for.
[[nodiscard]] int sampleRateOf(const SoundFormat& format);

} // namespace flash::media
