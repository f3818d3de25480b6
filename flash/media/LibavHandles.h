// Owning handles for libavcodec and libswresample objects.
#pragma once

#include "flash/media/Libav.h"

#include <memory>

namespace flash::media {

struct CodecContextFree {
    void operator()(AVCodecContext* c) const { av().avcodec_free_context(&c); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av().av_frame_free(&f); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av().av_packet_free(&p); }
};
struct ParserClose {
    void operator()(AVCodecParserContext* p) const { av().av_parser_close(p); }
};
struct ResamplerFree {
    void operator()(SwrContext* s) const { av().swr_free(&s); }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using ParserPtr = std::unique_ptr<AVCodecParserContext, ParserClose>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFree>;

} // namespace flash::media
