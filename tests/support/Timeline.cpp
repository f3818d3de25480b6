// A timeline's tag stream.
#include "Timeline.h"

#include "TagCodes.h"

#include <stdexcept>

namespace swfw {

namespace {

PlaceVersion chooseVersion(const Placement& p)
{
    if (p.version != PlaceVersion::Auto)
        return p.version;
    return p.blendMode || p.cacheAsBitmap || p.visible ? PlaceVersion::V3 : PlaceVersion::V2;
}

std::vector<uint8_t> placeObject1(const Placement& p)
{
    if (!p.characterId || p.move || p.ratio || p.name || p.clipDepth || p.blendMode || !p.clipActions.empty())
        throw std::invalid_argument("PlaceObject places a character with a matrix and colour transform only");
    BitWriter w;
    w.u16(*p.characterId);
    w.u16(p.depth);
    writeMatrix(w, p.matrix.value_or(Matrix{}));
    if (p.colorTransform)
        writeColorTransform(w, *p.colorTransform, false);
    return w.take();
}

// CLIPACTIONS: event flags are 16 bits wide in SWF 5 and 32 from SWF 6 on;
// a record's size counts the key code that a KeyPress handler stores first.
void writeClipActions(BitWriter& w, const std::vector<ClipAction>& handlers, uint8_t swfVersion)
{
    if (swfVersion == 0)
        throw std::invalid_argument("clip actions need the movie's version: make the Timeline with it");
    if (swfVersion < 5)
        throw std::invalid_argument("clip actions need SWF 5");
    const bool wide = swfVersion >= 6;
    auto flags = [&](uint32_t events) {
        if (wide) {
            w.u32(events);
        } else {
            if (events > 0xFFFF)
                throw std::invalid_argument("SWF 5 clip events are the low 16 flags");
            w.u16(static_cast<uint16_t>(events));
        }
    };
    uint32_t all = 0;
    for (const auto& h : handlers)
        all |= h.events;
    w.u16(0); // reserved
    flags(all);
    for (const auto& h : handlers) {
        if (h.events == 0)
            throw std::invalid_argument("a clip action without events would end the list");
        if (h.keyCode.has_value() != ((h.events & clipEvent::KeyPress) != 0))
            throw std::invalid_argument("a key code goes with the KeyPress event, and it needs one");
        flags(h.events);
        w.u32(static_cast<uint32_t>(h.actions.size() + (h.keyCode ? 1 : 0)));
        if (h.keyCode)
            w.u8(*h.keyCode);
        w.bytes(h.actions);
    }
    flags(0);
}

std::vector<uint8_t> placeObject23(const Placement& p, bool v3, uint8_t swfVersion)
{
    BitWriter w;
    uint8_t flags = 0;
    if (!p.clipActions.empty()) flags |= 0x80;
    if (p.clipDepth) flags |= 0x40;
    if (p.name) flags |= 0x20;
    if (p.ratio) flags |= 0x10;
    if (p.colorTransform) flags |= 0x08;
    if (p.matrix) flags |= 0x04;
    if (p.characterId) flags |= 0x02;
    if (p.move) flags |= 0x01;
    w.u8(flags);
    if (v3) {
        uint8_t more = 0;
        if (p.visible) more |= 0x20;
        if (p.cacheAsBitmap) more |= 0x04;
        if (p.blendMode) more |= 0x02;
        w.u8(more);
    } else if (p.blendMode || p.cacheAsBitmap || p.visible) {
        throw std::invalid_argument("blend mode, bitmap caching and visibility need PlaceObject3");
    }
    w.u16(p.depth);
    if (p.characterId) w.u16(*p.characterId);
    if (p.matrix) writeMatrix(w, *p.matrix);
    if (p.colorTransform) writeColorTransform(w, *p.colorTransform, true);
    if (p.ratio) w.u16(*p.ratio);
    if (p.name) w.string(*p.name);
    if (p.clipDepth) w.u16(*p.clipDepth);
    if (v3) {
        if (p.blendMode) w.u8(static_cast<uint8_t>(*p.blendMode));
        if (p.cacheAsBitmap) w.u8(*p.cacheAsBitmap ? 1 : 0);
        if (p.visible) w.u8(*p.visible ? 1 : 0);
    }
    if (!p.clipActions.empty())
        writeClipActions(w, p.clipActions, swfVersion);
    return w.take();
}

} // namespace

Timeline& Timeline::place(uint16_t depth, uint16_t characterId, const Matrix& matrix)
{
    return place(Placement{.depth = depth, .characterId = characterId, .matrix = matrix});
}

Timeline& Timeline::place(const Placement& p)
{
    switch (chooseVersion(p)) {
    case PlaceVersion::V1:
        appendTag(tag::PlaceObject, placeObject1(p));
        break;
    case PlaceVersion::V3:
        appendTag(tag::PlaceObject3, placeObject23(p, true, m_swfVersion));
        break;
    default:
        appendTag(tag::PlaceObject2, placeObject23(p, false, m_swfVersion));
        break;
    }
    return *this;
}

Timeline& Timeline::move(uint16_t depth, const Matrix& matrix)
{
    return place(Placement{.depth = depth, .matrix = matrix, .move = true});
}

Timeline& Timeline::remove(uint16_t depth)
{
    BitWriter w;
    w.u16(depth);
    appendTag(tag::RemoveObject2, w.data());
    return *this;
}

Timeline& Timeline::removeCharacter(uint16_t depth, uint16_t characterId)
{
    BitWriter w;
    w.u16(characterId);
    w.u16(depth);
    appendTag(tag::RemoveObject, w.data());
    return *this;
}

Timeline& Timeline::label(const std::string& name)
{
    BitWriter w;
    w.string(name);
    appendTag(tag::FrameLabel, w.data());
    return *this;
}

Timeline& Timeline::actions(const Actions& actions)
{
    return this->actions(actions.bytes());
}

Timeline& Timeline::actions(std::span<const uint8_t> block)
{
    appendTag(tag::DoAction, block);
    return *this;
}

Timeline& Timeline::initActions(uint16_t spriteId, const Actions& actions)
{
    return initActions(spriteId, actions.bytes());
}

Timeline& Timeline::initActions(uint16_t spriteId, std::span<const uint8_t> block)
{
    BitWriter w;
    w.u16(spriteId);
    w.bytes(block);
    appendTag(tag::DoInitAction, w.data());
    return *this;
}

Timeline& Timeline::showFrame()
{
    if (m_frames == 0xFFFF)
        throw std::length_error("too many frames");
    appendTag(tag::ShowFrame, {});
    ++m_frames;
    return *this;
}

void Timeline::appendTag(uint16_t code, std::span<const uint8_t> body, TagHeader header)
{
    swfw::appendTag(m_tags, code, body, header);
}

} // namespace swfw
