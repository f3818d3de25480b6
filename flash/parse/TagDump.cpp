// A readable list of a movie's tags, sprites indented, for debugging.
#include "flash/io/SwfContainer.h"
#include "flash/parse/MovieLoader.h"
#include "flash/parse/Primitives.h"
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagStream.h"

#include <string>

namespace flash {
namespace {

constexpr size_t kMaxDumpLines = 100000;

struct Dumper {
    std::string out;
    size_t lines = 0;
    uint32_t maxNesting;

    void line(std::string text)
    {
        if (lines++ < kMaxDumpLines)
            out += text + '\n';
        else if (lines == kMaxDumpLines + 1)
            out += "... (more tags not listed)\n";
    }

    void walk(ByteReader& reader, uint32_t nesting)
    {
        TagStream stream(reader);
        const std::string indent(nesting * 2, ' ');
        while (auto tag = stream.next()) {
            std::string text = indent + std::to_string(tag->offset) + " " + tagName(tag->code) + " ("
                + std::to_string(tag->declaredLength) + " bytes)";
            if (tag->isTruncated)
                text += " TRUNCATED to " + std::to_string(tag->body.size());
            if (tag->code == 39) {
                const uint16_t id = tag->body.u16();
                const uint16_t frames = tag->body.u16();
                text += " id " + std::to_string(id) + ", " + std::to_string(frames) + " frames";
            }
            line(std::move(text));
            if (tag->code == 39 && nesting < maxNesting && !tag->body.failed())
                walk(tag->body, nesting + 1);
            if (tag->code == 0)
                break;
        }
        if (stream.endedInHeader())
            line(indent + "tag header cut off");
    }
};

} // namespace

std::string dumpTags(std::span<const uint8_t> bytes, const LoadLimits& limits)
{
    auto container = openSwfContainer(bytes, limits.maxUncompressedBytes);
    if (!container)
        return "not a movie: " + container.error() + '\n';
    Dumper d{{}, 0, limits.maxSpriteNesting};
    ByteReader r(container->body, kSwfHeaderSize);
    const Rect stage = readRect(r);
    const double rate = r.u16() / 256.0;
    const uint16_t frames = r.u16();
    d.line(std::string(container->signature) + " version " + std::to_string(container->version) + ", length "
           + std::to_string(container->declaredLength) + ", stage " + std::to_string(stage.width() / 20) + "x"
           + std::to_string(stage.height() / 20) + ", rate " + std::to_string(rate) + ", header frames "
           + std::to_string(frames));
    for (const auto& problem : container->problems)
        d.line("problem: " + problem);
    d.walk(r, 0);
    return d.out;
}

} // namespace flash
