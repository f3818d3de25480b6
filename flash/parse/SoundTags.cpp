// The sound a timeline streams: SoundStreamHead(2) and a SoundStreamBlock a frame.
#include "flash/parse/TagHandlers.h"

#include "flash/parse/ParseContext.h"
#include "flash/parse/TimelineBuilder.h"

namespace flash {

namespace {

SoundFormat readFormat(uint8_t bits)
{
    SoundFormat format;
    format.codec = bits >> 4;
    format.rate = (bits >> 2) & 3;
    format.is16Bit = bits & 0x02;
    format.stereo = bits & 0x01;
    return format;
}

} // namespace

void parseSoundStreamHead(TagContext& t)
{
    auto& r = t.body;
    (void)r.u8(); // the playback format the player would like: the stream's own format decides
    SoundStreamHead head;
    head.format = readFormat(r.u8());
    head.samplesPerBlock = r.u16();
    if (head.format.codec == 2 && r.remaining() >= 2)
        head.latencySeek = int16_t(r.u16());
    if (t.ok())
        t.timeline.setSoundStream(head);
}

void parseSoundStreamBlock(TagContext& t)
{
    const auto block = t.body.rest();
    if (t.ok())
        t.timeline.setSoundBlock(block);
}

} // namespace flash
