// Control tags of a frame: PlaceObject 1/2/3, RemoveObject 1/2, DoAction,
// DoInitAction, StartSound and FrameLabel.
#include "flash/parse/FilterList.h"
#include "flash/parse/Primitives.h"
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagHandlers.h"
#include "flash/parse/TimelineBuilder.h"

namespace flash {

void parsePlaceObject(TagContext& t)
{
    auto& r = t.body;
    PlaceObject place;
    place.characterId = r.u16();
    place.depth = r.u16();
    place.matrix = readMatrix(r);
    if (!r.atEnd())
        place.colorTransform = readColorTransform(r, false);
    if (t.ok())
        t.timeline.add(std::move(place));
}

void parsePlaceObject2(TagContext& t)
{
    auto& r = t.body;
    const bool isPlace3 = t.code == TagCode::PlaceObject3;
    const uint8_t flags = r.u8();
    const uint8_t flags3 = isPlace3 ? r.u8() : 0;
    PlaceObject place;
    place.isMove = flags & 0x01;
    place.depth = r.u16();
    if (isPlace3 && ((flags3 & 0x08) || ((flags3 & 0x10) && (flags & 0x02))))
        place.className = r.cString();
    if (flags & 0x02)
        place.characterId = r.u16();
    if (flags & 0x04)
        place.matrix = readMatrix(r);
    if (flags & 0x08)
        place.colorTransform = readColorTransform(r, true);
    if (flags & 0x10)
        place.ratio = r.u16();
    if (flags & 0x20)
        place.name = r.cString();
    if (flags & 0x40)
        place.clipDepth = r.u16();
    if (isPlace3) {
        if (flags3 & 0x01) {
            std::string problem;
            place.filters = readFilterList(r, problem);
            if (!problem.empty())
                return t.reject(problem);
        }
        if (flags3 & 0x02)
            place.blendMode = blendModeFromByte(r.u8());
        if (flags3 & 0x04)
            place.cacheAsBitmap = r.u8() != 0;
        if (flags3 & 0x20)
            place.visible = r.u8() != 0;
        if (flags3 & 0x40)
            place.backgroundColor = readRgba(r);
    }
    if (flags & 0x80) {
        std::string problem;
        place.clipActions = readClipActions(r, t.version(), problem);
        if (!problem.empty())
            return t.reject(problem);
    }
    if (!t.ok())
        return;
    for (const auto& action : place.clipActions) {
        if (!t.ctx.charge(action.actions.size()))
            return;
    }
    t.timeline.add(std::move(place));
}

void parseRemoveObject(TagContext& t)
{
    RemoveObject remove;
    remove.characterId = t.body.u16();
    remove.depth = t.body.u16();
    if (t.ok())
        t.timeline.add(remove);
}

void parseRemoveObject2(TagContext& t)
{
    RemoveObject remove;
    remove.depth = t.body.u16();
    if (t.ok())
        t.timeline.add(remove);
}

void parseDoAction(TagContext& t)
{
    DoAction action;
    const auto bytes = t.body.rest();
    if (!t.ctx.charge(bytes.size()))
        return;
    action.actions = copyBytes(bytes);
    t.timeline.add(std::move(action));
}

void parseDoInitAction(TagContext& t)
{
    DoAction action;
    action.initSpriteId = t.body.u16();
    const auto bytes = t.body.rest();
    if (!t.ok() || !t.ctx.charge(bytes.size()))
        return;
    action.actions = copyBytes(bytes);
    t.timeline.add(std::move(action));
}

void parseStartSound(TagContext& t)
{
    StartSound sound;
    sound.soundId = t.body.u16();
    sound.info = copyBytes(t.body.rest());
    if (t.ok())
        t.timeline.add(std::move(sound));
}

void parseFrameLabel(TagContext& t)
{
    // Some writers leave out the terminator when the label fills the tag.
    const auto bytes = t.body.rest();
    std::string label(bytes.begin(), bytes.end());
    if (const auto nul = label.find('\0'); nul != std::string::npos)
        label.resize(nul);
    t.timeline.addLabel(std::move(label));
}

} // namespace flash
