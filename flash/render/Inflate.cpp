// zlib inflation with an output cap.
#include "flash/render/Inflate.h"

#include <algorithm>
#include <climits>
#include <zlib.h>

namespace flash {

std::optional<std::vector<uint8_t>>
inflateBounded(std::span<const uint8_t> compressed, size_t minBytes, size_t maxBytes)
{
    if (compressed.empty() || compressed.size() > UINT_MAX || maxBytes > UINT_MAX || minBytes > maxBytes)
        return std::nullopt;
    std::vector<uint8_t> out(maxBytes);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    int status = Z_OK;
    while (status == Z_OK && stream.avail_out > 0)
        status = inflate(&stream, Z_NO_FLUSH);
    const size_t produced = out.size() - stream.avail_out;
    inflateEnd(&stream);
    if (produced < minBytes)
        return std::nullopt;
    out.resize(produced);
    return out;
}

} // namespace flash
