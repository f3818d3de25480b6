// Signature sniffing and body decompression for FWS, CWS and ZWS files.
#include "flash/io/SwfContainer.h"

#include "flash/io/ByteReader.h"
#include "flash/io/Decompress.h"

#include <algorithm>
#include <cstring>

namespace flash {
namespace {

// ZWS adds the compressed length (4 bytes) and the LZMA properties (5 bytes).
constexpr size_t kZwsPrefixSize = 4 + 5;

std::string describeCap(size_t cap)
{
    return "uncompressed data exceeds the " + std::to_string(cap / (1024 * 1024)) + " MiB limit; the rest is ignored";
}

void adoptDecompressed(SwfContainer& c, Decompressed&& d, size_t cap)
{
    if (d.hitCap)
        c.problems.push_back(describeCap(cap));
    if (!d.problem.empty())
        c.problems.push_back(d.problem);
    c.ownedBody = std::move(d.data);
    c.body = c.ownedBody;
}

size_t declaredBodySize(const SwfContainer& c)
{
    return c.declaredLength > kSwfHeaderSize ? c.declaredLength - kSwfHeaderSize : 0;
}

} // namespace

bool looksLikeSwf(std::span<const uint8_t> bytes)
{
    if (bytes.size() < 3 || bytes[1] != 'W' || bytes[2] != 'S')
        return false;
    return bytes[0] == 'F' || bytes[0] == 'C' || bytes[0] == 'Z';
}

Result<SwfContainer> openSwfContainer(std::span<const uint8_t> bytes, size_t maxBodyBytes)
{
    if (!looksLikeSwf(bytes))
        return failure("not a Flash movie (no FWS, CWS or ZWS signature)");
    if (bytes.size() < kSwfHeaderSize)
        return failure("file too short for a movie header");

    SwfContainer c;
    std::memcpy(c.signature, bytes.data(), 3);
    ByteReader header(bytes.subspan(3, 5));
    c.version = header.u8();
    c.declaredLength = header.u32();
    const auto payload = bytes.subspan(kSwfHeaderSize);

    switch (bytes[0]) {
    case 'F':
        c.compression = SwfCompression::None;
        // The real bytes win over the declared length, in both directions.
        c.body = payload.subspan(0, std::min(payload.size(), maxBodyBytes));
        if (payload.size() > maxBodyBytes)
            c.problems.push_back(describeCap(maxBodyBytes));
        break;
    case 'C':
        c.compression = SwfCompression::Zlib;
        adoptDecompressed(c, inflateZlib(payload, maxBodyBytes, declaredBodySize(c)), maxBodyBytes);
        break;
    default: {
        c.compression = SwfCompression::Lzma;
        if (payload.size() < kZwsPrefixSize)
            return failure("file too short for an LZMA movie header");
        ByteReader prefix(payload);
        const uint32_t compressedLength = prefix.u32();
        const auto properties = prefix.bytes(5);
        auto data = prefix.rest();
        if (compressedLength != 0 && compressedLength < data.size())
            data = data.subspan(0, compressedLength); // anything after the stream is not movie data
        adoptDecompressed(c, decodeLzma(properties, data, maxBodyBytes, declaredBodySize(c)), maxBodyBytes);
        break;
    }
    }
    if (c.body.empty())
        return failure(c.problems.empty() ? std::string("movie has no content after its header")
                                          : "movie content unreadable: " + c.problems.back());
    return c;
}

} // namespace flash
