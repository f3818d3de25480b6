// Entry points of the parser: container, movie header, then the tag walk.
#include "flash/parse/MovieLoader.h"

#include "flash/io/SwfContainer.h"
#include "flash/parse/ParseContext.h"
#include "flash/parse/Primitives.h"
#include "flash/parse/TagHandlers.h"

#include <cstring>
#include <fstream>

namespace flash {

std::expected<std::shared_ptr<const Movie>, LoadError> loadMovie(std::span<const uint8_t> bytes,
                                                                  const LoadLimits& limits)
{
    auto container = openSwfContainer(bytes, limits.maxUncompressedBytes);
    if (!container)
        return std::unexpected(LoadError{container.error()});

    auto movie = std::make_shared<Movie>();
    auto& header = movie->header;
    std::memcpy(header.signature, container->signature, 3);
    header.version = container->version;
    header.fileLength = container->declaredLength;

    ByteReader r(container->body, kSwfHeaderSize);
    header.stage = readRect(r);
    header.frameRate = r.u16() / 256.0;
    header.headerFrameCount = r.u16();
    if (r.failed())
        return std::unexpected(LoadError{"movie header is cut off"});

    ParseContext ctx(*movie, header.version, limits);
    for (auto& problem : container->problems)
        ctx.error(std::move(problem));
    walkTags(ctx, r, movie->timeline);
    ctx.publishTagCounts();
    return std::shared_ptr<const Movie>(std::move(movie));
}

std::expected<std::shared_ptr<const Movie>, LoadError> loadMovieFile(const std::string& path, const LoadLimits& limits)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return std::unexpected(LoadError{"cannot open " + path});
    const std::streamoff size = in.tellg();
    // A compressed movie is smaller than its content, so the content cap bounds the file too.
    if (size < 0 || uint64_t(size) > uint64_t(limits.maxUncompressedBytes) + kSwfHeaderSize)
        return std::unexpected(LoadError{"file too large or unreadable: " + path});
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        return std::unexpected(LoadError{"cannot read " + path});
    return loadMovie(bytes, limits);
}

} // namespace flash
