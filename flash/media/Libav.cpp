#include "flash/media/Libav.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>

namespace flash::media {

namespace {

// Opens one library by the soname of the major version the engine was built
// against, so that an incompatible newer library is never picked up.
struct Libraries {
    void* avutil = dlopen(soname("avutil", LIBAVUTIL_VERSION_MAJOR).c_str(), RTLD_NOW | RTLD_LOCAL);
    void* avcodec = dlopen(soname("avcodec", LIBAVCODEC_VERSION_MAJOR).c_str(), RTLD_NOW | RTLD_LOCAL);
    void* avformat = dlopen(soname("avformat", LIBAVFORMAT_VERSION_MAJOR).c_str(), RTLD_NOW | RTLD_LOCAL);
    void* swresample = dlopen(soname("swresample", LIBSWRESAMPLE_VERSION_MAJOR).c_str(), RTLD_NOW | RTLD_LOCAL);

    static std::string soname(const char* name, int major)
    {
        return "lib" + std::string(name) + ".so." + std::to_string(major);
    }
};

// The libraries stay open for the life of the process: decoders may be
// destroyed by static destructors after any owner of the handles.
bool load(Libav& api)
{
    const Libraries libraries;
    bool complete = true;
#define FLASH_LIBAV_RESOLVE(library, name)                                                                             \
    api.name = libraries.library ? reinterpret_cast<decltype(api.name)>(dlsym(libraries.library, #name)) : nullptr;    \
    complete = complete && api.name;
    FLASH_LIBAV_FUNCTIONS(FLASH_LIBAV_RESOLVE)
#undef FLASH_LIBAV_RESOLVE
    if (complete && !std::getenv("VF_LIBAV_LOG"))
        api.av_log_set_level(AV_LOG_QUIET);
    return complete;
}

} // namespace

const Libav* libav()
{
    static Libav api;
    static const bool loaded = load(api);
    return loaded ? &api : nullptr;
}

} // namespace flash::media
