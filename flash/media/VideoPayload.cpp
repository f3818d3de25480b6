// Screen video payload framing and key frame detection.
#include "flash/media/VideoPayload.h"

namespace flash {

namespace {

bool isScreenVideo(uint8_t codec)
{
    return codec == uint8_t(VideoCodec::ScreenVideo) || codec == uint8_t(VideoCodec::ScreenVideo2);
}

// A screen video picture header: 4 bits block width, 12 bits width, the same for the height.
bool headerNamesSize(std::span<const uint8_t> header, const VideoDef& video)
{
    if (header.size() < 4)
        return false;
    const int width = (header[0] & 0x0f) << 8 | header[1];
    const int height = (header[2] & 0x0f) << 8 | header[3];
    return width == video.width && height == video.height;
}

// Every block present, and in version 2 none drawn as a difference from or primed
// by an earlier frame. Blocks are a 16-bit big-endian size and that many bytes; in
// version 2 the first of them holds the block's flags.
std::optional<bool> screenKeyFrame(std::span<const uint8_t> data, bool version2)
{
    if (data.size() < 4)
        return std::nullopt;
    const int blockWidth = ((data[0] >> 4) + 1) * 16, width = (data[0] & 0x0f) << 8 | data[1];
    const int blockHeight = ((data[2] >> 4) + 1) * 16, height = (data[2] & 0x0f) << 8 | data[3];
    const size_t blocks = size_t((width + blockWidth - 1) / blockWidth) * size_t((height + blockHeight - 1) / blockHeight);
    size_t at = 4;
    if (version2) {
        if (at >= data.size())
            return std::nullopt;
        const bool hasPalette = data[at++] & 0x01;
        if (hasPalette)
            return std::nullopt; // not written by any encoder at hand; left to the decoder
    }
    for (size_t block = 0; block < blocks; ++block) {
        if (at + 2 > data.size())
            return std::nullopt;
        const size_t size = size_t(data[at]) << 8 | data[at + 1];
        at += 2;
        if (size == 0 || at + size > data.size())
            return size == 0 ? std::optional(false) : std::nullopt;
        const bool dependsOnEarlier = version2 && (data[at] & 0x05); // difference block, or primed by the previous
        if (dependsOnEarlier)
            return false;
        at += size;
    }
    return true;
}

} // namespace

VideoPayload readPayload(const VideoDef& video, std::span<const uint8_t> payload)
{
    if (!isScreenVideo(video.codec))
        return {payload, std::nullopt};
    if (payload.size() >= 5) {
        const uint8_t frameType = payload[0] >> 4;
        const bool looksLikeTagByte = (payload[0] & 0x0f) == video.codec && frameType >= 1 && frameType <= 5;
        if (looksLikeTagByte && !headerNamesSize(payload, video) && headerNamesSize(payload.subspan(1), video))
            payload = payload.subspan(1);
    }
    return {payload, screenKeyFrame(payload, video.codec == uint8_t(VideoCodec::ScreenVideo2))};
}

} // namespace flash
