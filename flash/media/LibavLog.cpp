#include "flash/media/LibavLog.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdlib>
#include <mutex>

namespace flash::media {

void quietLibavLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (!std::getenv("VF_LIBAV_LOG"))
            av_log_set_level(AV_LOG_QUIET);
    });
}

} // namespace flash::media
