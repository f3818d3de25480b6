// Applies a frame's PlaceObject and RemoveObject tags to a display list.
#pragma once

#include "flash/stage/DisplayList.h"

namespace flash {

// What becomes of the objects that tags create and remove. The default keeps
// new objects as bare data and destroys removed ones; the live stage gives new
// clips their timelines and keeps removed objects for their unload handlers.
class PlacementSink {
public:
    virtual ~PlacementSink() = default;
    // False once no more objects may come on stage: the tag then places nothing.
    [[nodiscard]] virtual bool hasRoom() const { return true; }
    // `object` was just put into the list, or took a new character at its depth.
    virtual void placed(DisplayObject& object) { (void)object; }
    virtual void removed(std::unique_ptr<DisplayObject> object) { (void)object; }
};

// Changes only what the tags say, and only objects the timeline owns: an object
// a script created is never moved or removed, and a property a script has set
// stays as the script left it. Actions are not run.
class TimelineApplier {
public:
    // `mainFrame`: for a sprite's tags, the main timeline's frame, whose definitions they place;
    // absent for the main timeline's own tags, which place what their own frame defines.
    TimelineApplier(const Movie& movie, DisplayList& list, PlacementSink* sink = nullptr,
                    std::optional<uint32_t> mainFrame = std::nullopt);

    void applyFrame(const Frame& frame, uint32_t frameIndex);
    void place(const PlaceObject& tag, uint32_t frameIndex);
    void remove(const RemoveObject& tag);

private:
    void placeNew(const PlaceObject& tag, uint16_t characterId, uint32_t frameIndex);
    void modify(DisplayObject& object, const PlaceObject& tag, uint32_t frameIndex);

    const Movie& m_movie;
    DisplayList& m_list;
    std::optional<uint32_t> m_mainFrame;
    PlacementSink m_defaultSink;
    PlacementSink& m_sink;
};

// True when `character` is a sprite definition, which gets a timeline of its own when placed.
[[nodiscard]] bool isSprite(const Character& character);

// The character a tag or record may place, as defined on `frame` of the main
// timeline: fonts, sounds and missing ids have nothing to show.
[[nodiscard]] std::optional<Character> placeableCharacter(const Movie& movie, uint16_t id, uint32_t frame = 0);

// Copies what a placing tag sets onto `object`, except what a script has taken over.
void applyPlacedFields(DisplayObject& object, const PlaceObject& tag);

// Copies the placed fields of `from` (what a frame's tags made of a depth) onto
// `to`, the same placement live on stage, except what a script has taken over.
void copyPlacedFields(const DisplayObject& from, DisplayObject& to);

// The button's records shown in `state`, placed as objects by their depths, as
// placed on frame 0 of the button's own list. Clips among them are not started.
[[nodiscard]] std::unique_ptr<DisplayList> buildButtonState(const Movie& movie, const ButtonDef& button,
                                                             uint8_t state);

} // namespace flash
