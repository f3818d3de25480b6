// Embedded video: DefineVideoStream and the VideoFrame tags that fill it.
#include "flash/parse/TagHandlers.h"

#include <memory>
#include <string>

namespace flash {

void parseDefineVideoStream(TagContext& t)
{
    auto& r = t.body;
    auto video = std::make_shared<VideoDef>();
    video->id = r.u16();
    video->frameCount = r.u16();
    video->width = r.u16();
    video->height = r.u16();
    const uint8_t flags = r.u8(); // 4 reserved bits, deblocking (3 bits; older files use 2), smoothing
    video->deblocking = (flags >> 1) & 0x07;
    video->smoothing = flags & 0x01;
    video->codec = r.u8();
    if (!t.ok() || !t.ctx.charge(sizeof(VideoDef)))
        return;
    const uint16_t id = video->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const VideoDef>(std::move(video)));
}

// Frames arrive one tag at a time after their stream's definition. The definition
// is made by this loader and the movie is not handed out before the load ends, so
// the frames are added to it in place rather than by copying it for every frame.
void parseVideoFrame(TagContext& t)
{
    auto& r = t.body;
    const uint16_t streamId = r.u16();
    const uint16_t frame = r.u16();
    if (!t.ok())
        return;
    const auto defined = t.ctx.movie().find<VideoDef>(streamId, t.ctx.mainTimelineFrame);
    if (!defined)
        return t.reject("no video stream with id " + std::to_string(streamId) + "; frame skipped");
    if (frame >= defined->frameCount)
        return t.reject("frame " + std::to_string(frame) + " past the stream's " + std::to_string(defined->frameCount)
                        + " frames; skipped");
    const auto data = r.rest();
    if (!t.ctx.charge(data.size() + 64))
        return;
    auto video = std::const_pointer_cast<VideoDef>(defined);
    video->frames.insert_or_assign(frame, std::vector<uint8_t>(data.begin(), data.end()));
}

} // namespace flash
