// PlaceObject semantics: a new object at a depth, a move that keeps what the
// tag leaves out, and a replace that swaps the character but keeps the rest.
#include "flash/stage/TimelineApplier.h"

#include "flash/model/FilterDecode.h"

namespace flash {

std::optional<Character> placeableCharacter(const Movie& movie, uint16_t id, uint32_t frame)
{
    const Character* found = movie.characterAt(id, frame);
    if (!found)
        return std::nullopt;
    const Character& character = *found;
    if (std::holds_alternative<std::shared_ptr<const FontDef>>(character)
        || std::holds_alternative<std::shared_ptr<const SoundDef>>(character))
        return std::nullopt;
    const bool isNull = std::visit([](const auto& definition) { return definition == nullptr; }, character);
    if (isNull)
        return std::nullopt;
    return character;
}

void applyPlacedFields(DisplayObject& object, const PlaceObject& tag)
{
    if (tag.matrix && !(object.scriptLocks & LockMatrix))
        object.matrix = *tag.matrix;
    if (tag.colorTransform && !(object.scriptLocks & LockColor))
        object.colorTransform = *tag.colorTransform;
    if (tag.ratio)
        object.ratio = *tag.ratio;
    if (tag.name)
        object.name = *tag.name;
    if (tag.clipDepth)
        object.clipDepth = *tag.clipDepth;
    if (tag.blendMode)
        object.blendMode = *tag.blendMode;
    if (tag.filters)
        object.filters = decodeFilters(*tag.filters);
    if (tag.cacheAsBitmap)
        object.cacheAsBitmap = *tag.cacheAsBitmap;
    if (tag.visible)
        object.visible = *tag.visible;
    if (!tag.clipActions.empty())
        object.clipActions = tag.clipActions;
}

void copyPlacedFields(const DisplayObject& from, DisplayObject& to)
{
    if (!(to.scriptLocks & LockMatrix))
        to.matrix = from.matrix;
    if (!(to.scriptLocks & LockColor))
        to.colorTransform = from.colorTransform;
    to.ratio = from.ratio;
    to.name = from.name;
    to.clipDepth = from.clipDepth;
    to.blendMode = from.blendMode;
    to.filters = from.filters;
    to.cacheAsBitmap = from.cacheAsBitmap;
    to.visible = from.visible;
    to.clipActions = from.clipActions;
}

bool isSprite(const Character& character)
{
    const auto* sprite = std::get_if<std::shared_ptr<const SpriteDef>>(&character);
    return sprite && *sprite;
}

std::unique_ptr<DisplayList> buildButtonState(const Movie& movie, const ButtonDef& button, uint8_t state)
{
    auto list = std::make_unique<DisplayList>();
    for (const ButtonRecord& record : button.records) {
        if (!(record.states & state))
            continue;
        auto character = placeableCharacter(movie, record.characterId);
        if (!character)
            continue;
        auto object = std::make_unique<DisplayObject>();
        object->depth = record.depth;
        object->characterId = record.characterId;
        object->character = std::move(*character);
        object->matrix = record.matrix;
        object->colorTransform = record.colorTransform;
        object->blendMode = record.blendMode;
        object->filters = decodeFilters(record.filters);
        // Two records at one depth: the later one, drawn on top, keeps it.
        list->objects()[record.depth] = std::move(object);
    }
    return list;
}

TimelineApplier::TimelineApplier(const Movie& movie, DisplayList& list, PlacementSink* sink,
                                 std::optional<uint32_t> mainFrame)
    : m_movie(movie), m_list(list), m_mainFrame(mainFrame), m_sink(sink ? *sink : m_defaultSink)
{
}

void TimelineApplier::applyFrame(const Frame& frame, uint32_t frameIndex)
{
    for (const ControlTag& tag : frame.tags) {
        if (const auto* placeTag = std::get_if<PlaceObject>(&tag))
            place(*placeTag, frameIndex);
        else if (const auto* removeTag = std::get_if<RemoveObject>(&tag))
            remove(*removeTag);
    }
}

void TimelineApplier::place(const PlaceObject& tag, uint32_t frameIndex)
{
    DisplayObject* existing = m_list.at(tag.depth);
    if (existing && existing->origin == Origin::Script)
        return;
    if (tag.isMove && existing) {
        modify(*existing, tag, frameIndex);
        return;
    }
    // A move onto an empty depth that names a character places it, as players do.
    if (tag.characterId)
        placeNew(tag, *tag.characterId, frameIndex);
}

void TimelineApplier::remove(const RemoveObject& tag)
{
    auto it = m_list.objects().find(tag.depth);
    if (it == m_list.objects().end() || it->second->origin == Origin::Script)
        return;
    std::unique_ptr<DisplayObject> object = std::move(it->second);
    m_list.objects().erase(it);
    m_sink.removed(std::move(object));
}

void TimelineApplier::placeNew(const PlaceObject& tag, uint16_t characterId, uint32_t frameIndex)
{
    auto character = placeableCharacter(m_movie, characterId, m_mainFrame.value_or(frameIndex));
    if (!character || !m_sink.hasRoom())
        return;
    auto object = std::make_unique<DisplayObject>();
    object->depth = tag.depth;
    object->characterId = characterId;
    object->character = std::move(*character);
    object->placedOnFrame = frameIndex;
    applyPlacedFields(*object, tag);
    auto& slot = m_list.objects()[tag.depth];
    if (slot)
        m_sink.removed(std::move(slot));
    slot = std::move(object);
    m_sink.placed(*slot);
}

void TimelineApplier::modify(DisplayObject& object, const PlaceObject& tag, uint32_t frameIndex)
{
    bool newCharacter = false;
    if (tag.characterId && *tag.characterId != object.characterId) {
        if (auto character = placeableCharacter(m_movie, *tag.characterId, m_mainFrame.value_or(frameIndex))) {
            // A different character is a new instance: a clip starts its own timeline afresh.
            object.characterId = *tag.characterId;
            object.character = std::move(*character);
            // What the old instance showed leaves the stage the way removed objects do.
            if (DisplayList* children = liveChildren(object)) {
                for (auto& [depth, child] : children->objects())
                    m_sink.removed(std::move(child));
            }
            object.clip.reset();
            object.buttonChildren.reset();
            object.placedOnFrame = frameIndex;
            newCharacter = true;
        }
    }
    applyPlacedFields(object, tag);
    if (newCharacter)
        m_sink.placed(object);
}

} // namespace flash
