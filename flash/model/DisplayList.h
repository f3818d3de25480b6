// The live display list: what is on stage now, by depth. The timeline changes
// it; the renderer only reads it.
#pragma once

#include "flash/model/DisplayTags.h"
#include "flash/model/Movie.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace flash {

class DisplayList;

// A playing sprite's own timeline state.
struct SpriteState {
    std::shared_ptr<const SpriteDef> def;
    uint32_t currentFrame = 0;   // 0-based
    bool playing = true;
    bool actionsPending = false; // the current frame's actions have yet to run
    std::unique_ptr<DisplayList> children;
};

struct DisplayObject {
    uint16_t depth = 0;
    uint16_t characterId = 0;
    Character character;
    Matrix matrix;
    ColorTransform colorTransform;
    uint16_t ratio = 0;                 // morph position, 0..65535
    std::optional<uint16_t> clipDepth;  // a mask over depths (depth, clipDepth]
    BlendMode blendMode = BlendMode::Normal;
    std::vector<Filter> filters;
    bool cacheAsBitmap = false;
    bool visible = true;
    std::string name;
    uint8_t buttonState = ButtonRecord::Up; // buttons: which state records show
    std::unique_ptr<SpriteState> sprite;    // sprites only
    // Buttons: the records of the shown state as objects of their own, so that
    // sprites among them play; null until the timeline starts the button.
    std::unique_ptr<DisplayList> buttonChildren;
    uint32_t placedOnFrame = 0;             // frame of the timeline that placed it
};

class DisplayList {
public:
    using Objects = std::map<uint16_t, std::unique_ptr<DisplayObject>>;

    [[nodiscard]] const Objects& objects() const { return m_objects; }
    [[nodiscard]] Objects& objects() { return m_objects; }
    [[nodiscard]] DisplayObject* at(uint16_t depth) const
    {
        auto it = m_objects.find(depth);
        return it == m_objects.end() ? nullptr : it->second.get();
    }
    void clear() { m_objects.clear(); }

private:
    Objects m_objects; // drawn in ascending depth order
};

// What a sprite or a started button shows now; null for anything else.
[[nodiscard]] inline const DisplayList* liveChildren(const DisplayObject& object)
{
    return object.sprite ? object.sprite->children.get() : object.buttonChildren.get();
}

} // namespace flash
