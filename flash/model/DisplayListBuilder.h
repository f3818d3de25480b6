// Applies a frame's PlaceObject and RemoveObject tags to a display list.
#pragma once

#include "flash/model/DisplayList.h"

namespace flash {

// Changes only what the tags say: sprite instances are left for the timeline to
// start (a newly placed sprite has no SpriteState yet), and actions are not run.
class DisplayListBuilder {
public:
    DisplayListBuilder(const Movie& movie, DisplayList& list) : m_movie(movie), m_list(list) { }

    void applyFrame(const Frame& frame, uint32_t frameIndex);
    void place(const PlaceObject& tag, uint32_t frameIndex);
    void remove(const RemoveObject& tag);

private:
    void placeNew(const PlaceObject& tag, uint16_t characterId, uint32_t frameIndex);
    void modify(DisplayObject& object, const PlaceObject& tag, uint32_t frameIndex);

    const Movie& m_movie;
    DisplayList& m_list;
};

// True when `character` is a sprite definition, which gets a timeline of its own when placed.
[[nodiscard]] bool isSprite(const Character& character);

// The button's records shown in `state`, placed as objects by their depths, as
// placed on frame 0 of the button's own list. Sprites among them are not started.
[[nodiscard]] std::unique_ptr<DisplayList> buildButtonState(const Movie& movie, const ButtonDef& button,
                                                             uint8_t state);

} // namespace flash
