// One embedded video stream's codec through libavcodec: payloads in, pictures out.
#pragma once

#include "flash/media/LibavHandles.h"
#include "flash/media/VideoPayload.h"
#include "flash/model/VideoPicture.h"
#include "flash/model/VideoDef.h"

#include <memory>
#include <span>

namespace flash {

using media::CodecContextPtr;
using media::FramePtr;
using media::PacketPtr;

struct DecodedVideoFrame {
    VideoPicture picture; // blank when the payload did not decode
    bool isKeyFrame = false; // decodes without the frames before it
};

class VideoDecoder {
public:
    // Null for codec ids this player does not know or the library lacks.
    [[nodiscard]] static std::unique_ptr<VideoDecoder> create(const VideoDef& video);

    // Decodes the next payload of the stream. Never fails: a payload that does not
    // decode (truncated, garbage, another codec's) yields a blank picture of the stream's size.
    [[nodiscard]] DecodedVideoFrame decode(const VideoPayload& payload);
    // Forgets the frames decoded so far, before decoding from a key frame again.
    void reset();

private:
    VideoDecoder(CodecContextPtr context, FramePtr frame, PacketPtr packet, int width, int height);
    [[nodiscard]] VideoPicture convertFrame() const;

    CodecContextPtr m_context;
    FramePtr m_frame;
    PacketPtr m_packet;
    int m_width; // the stream's declared size, which crops padded pictures
    int m_height;
};

} // namespace flash
