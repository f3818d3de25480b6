// Movie-wide tags: background colour, scenes and labels, exports, scaling
// grids and event sounds.
#include "flash/parse/Primitives.h"
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagHandlers.h"
#include "flash/parse/TimelineBuilder.h"

#include <memory>

namespace flash {

void parseSetBackgroundColor(TagContext& t)
{
    const Rgba color = readRgb(t.body);
    if (t.ok())
        t.ctx.movie().backgroundColor = color;
}

void parseFileAttributes(TagContext& t)
{
    // Older writers store a single byte.
    const auto bytes = t.body.rest();
    uint32_t flags = 0;
    for (size_t i = 0; i < bytes.size() && i < 4; ++i)
        flags |= uint32_t(bytes[i]) << (8 * i);
    t.ctx.movie().fileAttributes = flags;
}

void parseSceneAndFrameLabelData(TagContext& t)
{
    auto& r = t.body;
    // Every entry takes at least two bytes, which bounds the counts.
    const uint32_t sceneCount = r.encodedU32();
    for (uint32_t i = 0; i < sceneCount && !r.failed(); ++i) {
        Scene scene;
        scene.offset = r.encodedU32();
        scene.name = r.cString();
        if (!r.failed())
            t.timeline.addScene(std::move(scene));
    }
    const uint32_t labelCount = r.encodedU32();
    for (uint32_t i = 0; i < labelCount && !r.failed(); ++i) {
        const uint32_t frame = r.encodedU32();
        auto label = r.cString();
        if (!r.failed())
            t.timeline.addSceneLabel(frame, std::move(label));
    }
}

void parseExportAssets(TagContext& t)
{
    auto& r = t.body;
    const uint16_t count = r.u16();
    for (uint16_t i = 0; i < count && !r.failed(); ++i) {
        const uint16_t id = r.u16();
        auto name = r.cString();
        if (!r.failed() && t.ctx.charge(64 + name.size()))
            t.ctx.movie().exports.insert_or_assign(std::move(name), id);
    }
}

void parseDefineScalingGrid(TagContext& t)
{
    const uint16_t id = t.body.u16();
    const Rect grid = readRect(t.body);
    if (t.ok())
        t.ctx.movie().scalingGrids[id] = grid;
}

void parseDefineSound(TagContext& t)
{
    auto& r = t.body;
    auto sound = std::make_shared<SoundDef>();
    sound->id = r.u16();
    const uint8_t flags = r.u8();
    sound->format = flags >> 4;
    sound->rate = (flags >> 2) & 3;
    sound->is16Bit = flags & 0x02;
    sound->stereo = flags & 0x01;
    sound->sampleCount = r.u32();
    const auto data = r.rest();
    if (!t.ok() || !t.ctx.charge(data.size()))
        return;
    sound->data.assign(data.begin(), data.end());
    const uint16_t id = sound->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const SoundDef>(std::move(sound)));
}

// What was placed from the old definition stays; the id may be defined anew.
void parseFreeCharacter(TagContext& t)
{
    const uint16_t id = t.body.u16();
    if (t.ok())
        t.ctx.freeCharacter(id);
}

} // namespace flash
