// libavcodec behind VideoDecoder: codec choice, packet feeding and picture conversion.
#include "flash/media/VideoDecoder.h"

#include "flash/media/VideoConvert.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

#include <algorithm>
#include <cstring>

namespace flash {

namespace {

// A payload may declare any picture size; no embedded video is anywhere near this.
constexpr int64_t kMaxPixels = 4096 * 4096;

AVCodecID codecIdOf(uint8_t codec)
{
    switch (VideoCodec(codec)) {
    case VideoCodec::SorensonH263:
        return AV_CODEC_ID_FLV1;
    case VideoCodec::ScreenVideo:
        return AV_CODEC_ID_FLASHSV;
    case VideoCodec::Vp6:
        return AV_CODEC_ID_VP6F;
    case VideoCodec::Vp6Alpha:
        // The payload starts with the offset of its alpha data, which this decoder reads itself.
        return AV_CODEC_ID_VP6A;
    case VideoCodec::ScreenVideo2:
        return AV_CODEC_ID_FLASHSV2;
    }
    return AV_CODEC_ID_NONE;
}

} // namespace

std::unique_ptr<VideoDecoder> VideoDecoder::create(const VideoDef& video)
{
    if (!media::libav())
        return nullptr;
    const AVCodec* codec = media::av().avcodec_find_decoder(codecIdOf(video.codec));
    if (!codec)
        return nullptr;
    CodecContextPtr context(media::av().avcodec_alloc_context3(codec));
    FramePtr frame(media::av().av_frame_alloc());
    PacketPtr packet(media::av().av_packet_alloc());
    if (!context || !frame || !packet)
        return nullptr;
    // Screen video needs the size up front; the others read it from each frame.
    context->width = video.width;
    context->height = video.height;
    context->max_pixels = kMaxPixels;
    context->thread_count = 1; // one picture out for each payload in, with no delay
    if (video.deblocking == 1)
        context->skip_loop_filter = AVDISCARD_ALL;
    if (media::av().avcodec_open2(context.get(), codec, nullptr) < 0)
        return nullptr;
    return std::unique_ptr<VideoDecoder>(
        new VideoDecoder(std::move(context), std::move(frame), std::move(packet), video.width, video.height));
}

VideoDecoder::VideoDecoder(CodecContextPtr context, FramePtr frame, PacketPtr packet, int width, int height)
    : m_context(std::move(context))
    , m_frame(std::move(frame))
    , m_packet(std::move(packet))
    , m_width(width)
    , m_height(height)
{
}

void VideoDecoder::reset()
{
    media::av().avcodec_flush_buffers(m_context.get());
}

DecodedVideoFrame VideoDecoder::decode(const VideoPayload& frame)
{
    const std::span<const uint8_t> payload = frame.data;
    DecodedVideoFrame result{VideoPicture::blank(m_width, m_height), false};
    if (payload.empty() || payload.size() > size_t(INT32_MAX) - AV_INPUT_BUFFER_PADDING_SIZE)
        return result;
    media::av().av_packet_unref(m_packet.get());
    // The packet's own buffer carries the zeroed padding the decoders may read past the end.
    if (media::av().av_new_packet(m_packet.get(), int(payload.size())) < 0)
        return result;
    std::memcpy(m_packet->data, payload.data(), payload.size());
    // Screen video 2 keeps key frames for the frames after them to refer to.
    if (frame.isKeyFrame.value_or(false))
        m_packet->flags |= AV_PKT_FLAG_KEY;
    if (media::av().avcodec_send_packet(m_context.get(), m_packet.get()) < 0)
        return result;
    media::av().av_frame_unref(m_frame.get());
    if (media::av().avcodec_receive_frame(m_context.get(), m_frame.get()) < 0)
        return result;
    result.picture = convertFrame();
    if (result.picture.isEmpty())
        result.picture = VideoPicture::blank(m_width, m_height);
    result.isKeyFrame = frame.isKeyFrame.value_or(m_frame->key_frame);
    return result;
}

VideoPicture VideoDecoder::convertFrame() const
{
    const AVFrame& f = *m_frame;
    // Pictures are coded in whole blocks; the stream's size says how much of one shows.
    const int width = m_width > 0 ? std::min(f.width, m_width) : f.width;
    const int height = m_height > 0 ? std::min(f.height, m_height) : f.height;
    auto plane = [&f](int i) { return Plane{f.data[i], f.linesize[i]}; };
    switch (f.format) {
    case AV_PIX_FMT_YUV420P:
        return convertYuv420(width, height, plane(0), plane(1), plane(2));
    case AV_PIX_FMT_YUVA420P:
        return convertYuv420(width, height, plane(0), plane(1), plane(2), plane(3));
    case AV_PIX_FMT_BGR24:
        return convertPacked24(width, height, plane(0), PackedOrder::Bgr);
    case AV_PIX_FMT_RGB24:
        return convertPacked24(width, height, plane(0), PackedOrder::Rgb);
    default:
        return {};
    }
}

} // namespace flash
