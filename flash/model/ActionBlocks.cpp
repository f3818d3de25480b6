// Walks a movie's timelines and buttons for their action blocks.
#include "flash/model/ActionBlocks.h"

namespace flash {
namespace {

using Visit = std::function<void(const ActionBlockSite&, std::span<const uint8_t>)>;

void visitTimeline(const Timeline& timeline, uint16_t owner, const Visit& visit)
{
    for (uint32_t frame = 0; frame < timeline.frames.size(); ++frame) {
        for (const ControlTag& tag : timeline.frames[frame].tags) {
            ActionBlockSite site;
            site.timeline = owner;
            site.frame = frame;
            if (const auto* action = std::get_if<DoAction>(&tag)) {
                site.kind = action->initSpriteId ? ActionBlockSite::Kind::Init : ActionBlockSite::Kind::Frame;
                site.target = action->initSpriteId.value_or(0);
                visit(site, action->actions);
            } else if (const auto* place = std::get_if<PlaceObject>(&tag)) {
                site.kind = ActionBlockSite::Kind::ClipEvent;
                site.depth = place->depth;
                for (const ClipAction& handler : place->clipActions) {
                    site.events = handler.events;
                    visit(site, handler.actions);
                }
            }
        }
    }
}

} // namespace

void forEachActionBlock(const Movie& movie, const Visit& visit)
{
    visitTimeline(movie.timeline, 0, visit);
    for (const auto& [id, character] : movie.dictionary) {
        if (const auto* sprite = std::get_if<std::shared_ptr<const SpriteDef>>(&character); sprite && *sprite)
            visitTimeline((*sprite)->timeline, id, visit);
    }
    for (const auto& [id, character] : movie.dictionary) {
        const auto* button = std::get_if<std::shared_ptr<const ButtonDef>>(&character);
        if (!button || !*button)
            continue;
        for (const ButtonCondAction& action : (*button)->actions) {
            ActionBlockSite site;
            site.kind = ActionBlockSite::Kind::Button;
            site.events = action.conditions;
            site.target = id;
            visit(site, action.actions);
        }
    }
}

} // namespace flash
