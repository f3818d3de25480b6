// libavcodec, libavformat, libavutil and libswresample, opened the first time
// a movie needs a codec rather than when the program starts: linked directly,
// they and the codec libraries they pull in cost every start of the player
// and of flashtool tens of milliseconds, and most movies play no media at all.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

namespace flash::media {

// The functions the engine calls, with the library each lives in.
#define FLASH_LIBAV_FUNCTIONS(X)                                                                                       \
    X(avutil, av_log_set_level)                                                                                        \
    X(avutil, av_frame_alloc)                                                                                          \
    X(avutil, av_frame_free)                                                                                           \
    X(avutil, av_frame_unref)                                                                                          \
    X(avutil, av_channel_layout_default)                                                                               \
    X(avutil, av_dict_set)                                                                                             \
    X(avutil, av_dict_get)                                                                                             \
    X(avutil, av_dict_free)                                                                                            \
    X(avcodec, avcodec_find_decoder)                                                                                   \
    X(avcodec, avcodec_alloc_context3)                                                                                 \
    X(avcodec, avcodec_free_context)                                                                                   \
    X(avcodec, avcodec_parameters_to_context)                                                                          \
    X(avcodec, avcodec_open2)                                                                                          \
    X(avcodec, avcodec_send_packet)                                                                                    \
    X(avcodec, avcodec_receive_frame)                                                                                  \
    X(avcodec, avcodec_flush_buffers)                                                                                  \
    X(avcodec, av_packet_alloc)                                                                                        \
    X(avcodec, av_packet_free)                                                                                         \
    X(avcodec, av_packet_unref)                                                                                        \
    X(avcodec, av_new_packet)                                                                                          \
    X(avcodec, av_parser_init)                                                                                         \
    X(avcodec, av_parser_parse2)                                                                                       \
    X(avcodec, av_parser_close)                                                                                        \
    X(avformat, avformat_open_input)                                                                                   \
    X(avformat, avformat_find_stream_info)                                                                             \
    X(avformat, avformat_close_input)                                                                                  \
    X(avformat, av_find_best_stream)                                                                                   \
    X(avformat, av_read_frame)                                                                                         \
    X(swresample, swr_alloc_set_opts2)                                                                                 \
    X(swresample, swr_init)                                                                                            \
    X(swresample, swr_free)                                                                                            \
    X(swresample, swr_get_out_samples)                                                                                 \
    X(swresample, swr_convert)

struct Libav {
#define FLASH_LIBAV_MEMBER(library, name) decltype(&::name) name = nullptr;
    FLASH_LIBAV_FUNCTIONS(FLASH_LIBAV_MEMBER)
#undef FLASH_LIBAV_MEMBER
};

// The libraries, opened on the first call, with their log quieted (a player
// that meets hostile files keeps broken packets off stderr unless
// VF_LIBAV_LOG=1 asks for them). Null when a library or one of the functions
// is missing: the movie then plays without sound and video, and says nothing.
const Libav* libav();

// For the objects that exist only once libav() has answered: their handles
// and methods. Never call it before a successful libav().
inline const Libav& av() { return *libav(); }

} // namespace flash::media
