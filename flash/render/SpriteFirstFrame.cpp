// Builds a sprite's first frame with the timeline's own display-list builder.
#include "flash/render/SpriteFirstFrame.h"

#include "flash/stage/TimelineApplier.h"
#include "flash/render/Placement.h"

namespace flash {

namespace {

std::unique_ptr<DisplayList> buildFirstFrame(const Movie& movie, const SpriteDef& sprite, int level, size_t& objectsLeft)
{
    auto list = std::make_unique<DisplayList>();
    if (level > kMaxNesting || sprite.timeline.frames.empty())
        return list;
    TimelineApplier(movie, *list).applyFrame(sprite.timeline.frames.front(), 0);
    if (list->objects().size() > objectsLeft) {
        list->clear();
        objectsLeft = 0;
        return list;
    }
    objectsLeft -= list->objects().size();
    for (auto& [depth, object] : list->objects()) {
        const auto* def = std::get_if<std::shared_ptr<const SpriteDef>>(&object->character);
        if (!def || !*def || object->clip)
            continue;
        object->clip = std::make_unique<ClipState>();
        object->clip->def = *def;
        object->clip->timeline = &(*def)->timeline;
        object->clip->playing = false;
        object->clip->children = buildFirstFrame(movie, **def, level + 1, objectsLeft);
    }
    return list;
}

} // namespace

std::unique_ptr<DisplayList> buildSpriteFirstFrame(const Movie& movie, const SpriteDef& sprite)
{
    size_t objectsLeft = kMaxFirstFrameObjects;
    return buildFirstFrame(movie, sprite, 0, objectsLeft);
}

} // namespace flash
