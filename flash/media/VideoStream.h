// One embedded video stream played from any frame: payloads are decoded in order,
// and a frame before the last one decoded is reached again from the nearest key
// frame at or before it (or the stream's first frame).
#pragma once

#include "flash/media/VideoDecoder.h"
#include "flash/model/VideoDef.h"

#include <memory>
#include <optional>
#include <set>

namespace flash {

class VideoStream {
public:
    explicit VideoStream(std::shared_ptr<const VideoDef> video);
    ~VideoStream();

    // The picture shown at `frame`: the payload at or before it, decoded; blank
    // (of the stream's size) before the first payload, for unknown codecs and broken data.
    [[nodiscard]] VideoPicture picture(uint16_t frame);

    // Payloads decoded so far, for tests and benchmarks.
    [[nodiscard]] size_t decodeCount() const { return m_decodeCount; }

private:
    [[nodiscard]] uint16_t firstToDecode(uint16_t target);

    std::shared_ptr<const VideoDef> m_video;
    std::unique_ptr<VideoDecoder> m_decoder;
    std::optional<uint16_t> m_last; // the payload whose picture m_lastPicture is
    VideoPicture m_lastPicture;
    std::set<uint16_t> m_keyFrames; // payloads seen to decode on their own
    size_t m_decodeCount = 0;
};

} // namespace flash
