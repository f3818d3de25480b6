// DefineSprite: a nested timeline, read with the same tag loop up to a nesting limit.
#include "flash/parse/TagHandlers.h"

#include <memory>

namespace flash {

void parseDefineSprite(TagContext& t)
{
    auto& r = t.body;
    auto sprite = std::make_shared<SpriteDef>();
    sprite->id = r.u16();
    sprite->headerFrameCount = r.u16();
    if (r.failed())
        return;
    if (t.ctx.spriteNesting >= t.ctx.limits().maxSpriteNesting)
        return t.reject("sprites nested deeper than " + std::to_string(t.ctx.limits().maxSpriteNesting)
                        + " levels; inner sprite skipped");
    ++t.ctx.spriteNesting;
    walkTags(t.ctx, r, sprite->timeline);
    --t.ctx.spriteNesting;
    const uint16_t id = sprite->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const SpriteDef>(std::move(sprite)));
}

} // namespace flash
