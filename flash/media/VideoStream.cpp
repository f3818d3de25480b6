// Seeking within an embedded video stream by decoding forward from key frames.
#include "flash/media/VideoStream.h"

#include "flash/media/VideoPayload.h"

namespace flash {

VideoStream::VideoStream(std::shared_ptr<const VideoDef> video)
    : m_video(std::move(video))
    , m_decoder(m_video ? VideoDecoder::create(*m_video) : nullptr)
{
}

VideoStream::~VideoStream() = default;

VideoPicture VideoStream::picture(uint16_t frame)
{
    if (!m_video)
        return {};
    const auto* shown = m_video->frameAt(frame);
    if (!shown || !m_decoder)
        return VideoPicture::blank(m_video->width, m_video->height);
    const uint16_t target = shown->first;
    if (m_last == target)
        return m_lastPicture;
    const uint16_t first = firstToDecode(target);
    if (!m_last || first <= *m_last)
        m_decoder->reset();
    const auto& frames = m_video->frames;
    for (auto it = frames.lower_bound(first); it != frames.end() && it->first <= target; ++it) {
        DecodedVideoFrame decoded = m_decoder->decode(readPayload(*m_video, it->second));
        ++m_decodeCount;
        if (decoded.isKeyFrame)
            m_keyFrames.insert(it->first);
        else
            m_keyFrames.erase(it->first);
        m_last = it->first;
        if (it->first == target)
            m_lastPicture = std::move(decoded.picture);
    }
    return m_lastPicture;
}

// Going on from the last decoded payload when it lies before the target, unless
// a key frame in between saves work; otherwise from the key frame before the target.
uint16_t VideoStream::firstToDecode(uint16_t target)
{
    std::optional<uint16_t> keyFrame;
    if (auto it = m_keyFrames.upper_bound(target); it != m_keyFrames.begin())
        keyFrame = *std::prev(it);
    if (m_last && *m_last < target) {
        if (keyFrame && *keyFrame > *m_last)
            return *keyFrame;
        return uint16_t(*m_last + 1);
    }
    return keyFrame ? *keyFrame : m_video->frames.begin()->first;
}

} // namespace flash
