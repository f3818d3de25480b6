// Turns a movie's sound bytes into PCM at the mixer's rate: uncompressed,
// ADPCM, MP3, Nellymoser and Speex through libavcodec, resampled by
// libswresample. What cannot be decoded comes out as silence of its length,
// or nothing when its length is unknown; nothing here fails the movie.
#pragma once

#include "flash/media/Pcm.h"
#include "flash/model/DisplayTags.h"

#include <memory>
#include <optional>
#include <span>

struct AVCodecParameters;

namespace flash::media {

// A whole sound (DefineSound). `sampleCount` is the sound's own length in samples per channel.
[[nodiscard]] Pcm decodeSound(const SoundFormat& format, std::span<const uint8_t> data, uint32_t sampleCount);

class AudioCodec;
class Resampler;

// Audio packets of a container (FLV audio tags after their header byte, MP3 file frames):
// the same codecs as a SWF stream, with no prefix before the data. Codec state runs on
// from packet to packet. The SWF sounds below decode through it too.
class PacketDecoder {
public:
    explicit PacketDecoder(const SoundFormat& format);
    ~PacketDecoder();
    PacketDecoder(const PacketDecoder&) = delete;
    PacketDecoder& operator=(const PacketDecoder&) = delete;

    // A decoder for a stream that libavformat found, of any audio codec the library
    // has (mono or stereo); null when there is none.
    [[nodiscard]] static std::unique_ptr<PacketDecoder> forStream(const AVCodecParameters& parameters);

    // The packet's PCM at 44.1 kHz stereo; empty when nothing decodes.
    [[nodiscard]] Pcm decode(std::span<const uint8_t> packet);

private:
    PacketDecoder();

    std::optional<SoundFormat> m_uncompressed;  // uncompressed samples, converted here
    std::unique_ptr<AudioCodec> m_codec;         // everything else (null: the codec is unknown or missing)
    std::unique_ptr<Resampler> m_resampler;      // uncompressed: one for the whole sound (it keeps its filter's state)
};

// The SoundFormat of an FLV audio tag's first byte (codec in the high 4 bits, rate,
// size, stereo) - the same layout as SWF's. FLV's MP3 at 8 kHz (14) is MP3 (2): its
// frames carry their rate.
[[nodiscard]] SoundFormat soundFormatOfFlvByte(uint8_t byte);

// A streamed sound, one block a frame; codec state runs on from block to block.
class StreamDecoder {
public:
    explicit StreamDecoder(const SoundStreamHead& head);
    ~StreamDecoder();
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    // The PCM of one SoundStreamBlock (silence of the block's length when it
    // cannot be decoded). `entry` says where the first block decoded enters the stream.
    enum class StreamEntry : uint8_t { FromStart, AtLaterFrame };
    [[nodiscard]] Pcm decodeBlock(std::span<const uint8_t> block, StreamEntry entry = StreamEntry::FromStart);

private:
    SoundStreamHead m_head;
    PacketDecoder m_packets;
    bool m_firstBlock = true;
};

// The sample rate a format's rate field stands for.
[[nodiscard]] int sampleRateOf(const SoundFormat& format);

} // namespace flash::media
