// Each codec route feeds libavcodec packets (split by its parser where the
// format has one, as MP3 frames are) and hands the frames to the resampler.
#include "flash/media/SoundDecoder.h"

#include "flash/media/Resampler.h"

#include <array>

namespace flash::media {

namespace {

constexpr std::array<int, 4> kRates{5512, 11025, 22050, 44100};

struct Route {
    AVCodecID codec = AV_CODEC_ID_NONE; // NONE: uncompressed, converted here
    int rate = 0;                       // 0: the decoder finds it in the data
    int channels = 1;
};

Route routeOf(const SoundFormat& format)
{
    const int rate = sampleRateOf(format);
    const int channels = format.stereo ? 2 : 1;
    switch (format.codec) {
    case 0:
    case 3: return {AV_CODEC_ID_NONE, rate, channels};
    case 1: return {AV_CODEC_ID_ADPCM_SWF, rate, channels};
    case 2: return {AV_CODEC_ID_MP3, 0, channels};
    case 4: return {AV_CODEC_ID_NELLYMOSER, 16000, 1};
    case 5: return {AV_CODEC_ID_NELLYMOSER, 8000, 1};
    case 6: return {AV_CODEC_ID_NELLYMOSER, rate, 1};
    case 11: return {AV_CODEC_ID_SPEEX, 16000, 1};
    default: return {AV_CODEC_ID_PROBE, rate, channels}; // unknown: silence
    }
}

// MP3 in a SWF comes after a prefix: a DefineSound's frames after the count of samples
// to drop (2 bytes), a stream block's after its sample count and that count (4 bytes).
constexpr uint8_t kMp3 = 2;
constexpr size_t kMp3SoundPrefix = 2, kMp3BlockPrefix = 4;

// Uncompressed samples: 8-bit unsigned or 16-bit little-endian signed.
void convertUncompressed(const SoundFormat& format, std::span<const uint8_t> data, Resampler& resampler, Pcm& out)
{
    const int channels = format.stereo ? 2 : 1;
    const size_t bytesPerFrame = size_t(channels) * (format.is16Bit ? 2 : 1);
    const size_t frames = std::min(data.size() / bytesPerFrame, Resampler::kMaxFrames * 8);
    std::vector<int16_t> samples(frames * size_t(channels));
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = format.is16Bit ? int16_t(uint16_t(data[2 * i]) | uint16_t(data[2 * i + 1]) << 8)
                                    : int16_t((int(data[i]) - 128) << 8);
    }
    const uint8_t* planes[] = {reinterpret_cast<const uint8_t*>(samples.data())};
    resampler.convert(planes, int(frames), sampleRateOf(format), channels, AV_SAMPLE_FMT_S16, out);
}

} // namespace

int sampleRateOf(const SoundFormat& format)
{
    return kRates[format.rate & 3];
}

namespace {

// MP3 data starts with a count of samples, at the sound's rate, that the encoder
// put before the sound proper; they are dropped so that the sound starts on time.
void dropLeadingSamples(Pcm& pcm, int samples, int rate)
{
    if (samples <= 0 || rate <= 0)
        return;
    const size_t frames = std::min(pcm.frames(), size_t(double(samples) * kMixRate / rate));
    pcm.samples.erase(pcm.samples.begin(), pcm.samples.begin() + ptrdiff_t(frames * 2));
}

int16_t readSigned16(std::span<const uint8_t> data, size_t at)
{
    return data.size() >= at + 2 ? int16_t(uint16_t(data[at] | data[at + 1] << 8)) : 0;
}

} // namespace

// One open decoder with its parser and resampler.
class AudioCodec {
public:
    // A decoder for one of the movie's codecs, with its parser where the codec has one.
    static std::unique_ptr<AudioCodec> open(const Route& route)
    {
        return create(route.codec, true, [&route](AVCodecContext& c) {
            if (route.rate > 0)
                c.sample_rate = route.rate;
            av().av_channel_layout_default(&c.ch_layout, route.channels);
            return true;
        });
    }

    // A decoder for a stream a container holds: its packets come whole, and need no parser.
    static std::unique_ptr<AudioCodec> open(const AVCodecParameters& parameters)
    {
        return create(parameters.codec_id, false,
                      [&parameters](AVCodecContext& c) { return av().avcodec_parameters_to_context(&c, &parameters) >= 0; });
    }

    void decode(std::span<const uint8_t> bytes, Pcm& out)
    {
        if (!m_parser) {
            send(bytes, out);
            return;
        }
        // The parser wants padding after its input; give it a padded copy.
        std::vector<uint8_t> padded(bytes.begin(), bytes.end());
        padded.resize(padded.size() + AV_INPUT_BUFFER_PADDING_SIZE);
        const uint8_t* at = padded.data();
        int left = int(bytes.size());
        for (int guard = 0; left > 0 && guard < 1 << 20; ++guard) {
            uint8_t* packet = nullptr;
            int packetSize = 0;
            const int used = av().av_parser_parse2(m_parser.get(), m_context.get(), &packet, &packetSize, at, left,
                                              AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
            if (used < 0)
                return;
            at += used;
            left -= used;
            if (packetSize > 0)
                send({packet, size_t(packetSize)}, out);
            else if (used == 0)
                break;
        }
    }

private:
    AudioCodec() = default;

    template<typename Setup>
    static std::unique_ptr<AudioCodec> create(AVCodecID id, bool parse, const Setup& setup)
    {
        if (!libav())
            return nullptr;
        const AVCodec* codec = av().avcodec_find_decoder(id);
        if (!codec)
            return nullptr;
        auto made = std::unique_ptr<AudioCodec>(new AudioCodec);
        made->m_context.reset(av().avcodec_alloc_context3(codec));
        made->m_frame.reset(av().av_frame_alloc());
        made->m_packet.reset(av().av_packet_alloc());
        if (!made->m_context || !made->m_frame || !made->m_packet || !setup(*made->m_context))
            return nullptr;
        if (av().avcodec_open2(made->m_context.get(), codec, nullptr) < 0)
            return nullptr;
        if (parse)
            made->m_parser.reset(av().av_parser_init(id));
        return made;
    }

    void send(std::span<const uint8_t> bytes, Pcm& out)
    {
        if (bytes.empty() || av().av_new_packet(m_packet.get(), int(bytes.size())) < 0)
            return;
        std::copy(bytes.begin(), bytes.end(), m_packet->data);
        const int sent = av().avcodec_send_packet(m_context.get(), m_packet.get());
        av().av_packet_unref(m_packet.get());
        if (sent < 0)
            return; // a broken packet is skipped
        while (av().avcodec_receive_frame(m_context.get(), m_frame.get()) == 0) {
            const AVFrame& f = *m_frame;
            m_resampler.convert(f.extended_data, f.nb_samples, f.sample_rate, f.ch_layout.nb_channels,
                                AVSampleFormat(f.format), out);
            av().av_frame_unref(m_frame.get());
        }
    }

    CodecContextPtr m_context;
    FramePtr m_frame;
    PacketPtr m_packet;
    ParserPtr m_parser;
    Resampler m_resampler;
};

PacketDecoder::PacketDecoder() = default;

PacketDecoder::PacketDecoder(const SoundFormat& format)
{
    const Route route = routeOf(format);
    if (route.codec == AV_CODEC_ID_NONE) {
        m_uncompressed = format;
        m_resampler = std::make_unique<Resampler>();
    } else {
        m_codec = AudioCodec::open(route);
    }
}

PacketDecoder::~PacketDecoder() = default;

std::unique_ptr<PacketDecoder> PacketDecoder::forStream(const AVCodecParameters& parameters)
{
    const int channels = parameters.ch_layout.nb_channels;
    if (parameters.codec_type != AVMEDIA_TYPE_AUDIO || channels < 1 || channels > 2)
        return nullptr; // the resampler takes mono and stereo
    auto made = std::unique_ptr<PacketDecoder>(new PacketDecoder);
    made->m_codec = AudioCodec::open(parameters);
    return made->m_codec ? std::move(made) : nullptr;
}

Pcm PacketDecoder::decode(std::span<const uint8_t> packet)
{
    Pcm out;
    if (m_uncompressed)
        convertUncompressed(*m_uncompressed, packet, *m_resampler, out);
    else if (m_codec)
        m_codec->decode(packet, out);
    return out;
}

SoundFormat soundFormatOfFlvByte(uint8_t byte)
{
    SoundFormat format;
    format.codec = byte >> 4;
    format.rate = (byte >> 2) & 3;
    format.is16Bit = byte & 0x02;
    format.stereo = byte & 0x01;
    if (format.codec == 14) // MP3 at 8 kHz
        format.codec = kMp3;
    return format;
}

Pcm decodeSound(const SoundFormat& format, std::span<const uint8_t> data, uint32_t sampleCount)
{
    Pcm out;
    const bool mp3 = format.codec == kMp3;
    if (!mp3 || data.size() > kMp3SoundPrefix) {
        PacketDecoder decoder(format);
        out = decoder.decode(mp3 ? data.subspan(kMp3SoundPrefix) : data);
        if (mp3)
            dropLeadingSamples(out, readSigned16(data, 0), sampleRateOf(format));
    }
    if (out.isEmpty() && sampleCount > 0) {
        // Nothing could be decoded: silence as long as the sound says it is.
        const double seconds = double(sampleCount) / sampleRateOf(format);
        out.samples.assign(std::min(size_t(seconds * kMixRate), Resampler::kMaxFrames) * 2, 0);
    }
    return out;
}

StreamDecoder::StreamDecoder(const SoundStreamHead& head)
    : m_head(head)
    , m_packets(head.format)
{
}

StreamDecoder::~StreamDecoder() = default;

Pcm StreamDecoder::decodeBlock(std::span<const uint8_t> block, StreamEntry entry)
{
    Pcm out;
    const bool mp3 = m_head.format.codec == kMp3;
    if (!mp3 || block.size() > kMp3BlockPrefix) {
        out = m_packets.decode(mp3 ? block.subspan(kMp3BlockPrefix) : block);
        // A stream entered from its start skips the encoder's latency; entered
        // at a later frame, the samples of the block's first MP3 frame that
        // belong before that frame (the block's seek samples).
        if (mp3 && m_firstBlock) {
            const int drop = entry == StreamEntry::FromStart ? m_head.latencySeek : readSigned16(block, 2);
            dropLeadingSamples(out, drop, sampleRateOf(m_head.format));
        }
    }
    m_firstBlock = false;
    if (out.isEmpty()) {
        // A block that cannot be decoded keeps the stream's pace with silence, as
        // long as an MP3 block says it is (writers' headers may promise more).
        const uint16_t blockSamples = mp3 && block.size() >= 2 ? uint16_t(block[0] | block[1] << 8) : 0;
        const double samples = blockSamples > 0 ? blockSamples : m_head.samplesPerBlock;
        const double seconds = samples / sampleRateOf(m_head.format);
        out.samples.assign(size_t(seconds * kMixRate) * 2, 0);
    }
    return out;
}

} // namespace flash::media
