// DefineShape, DefineShape2, DefineShape3 and DefineShape4.
#include "flash/parse/Primitives.h"
#include "flash/parse/ShapeRecords.h"
#include "flash/parse/TagCodes.h"
#include "flash/parse/TagHandlers.h"

#include <memory>

namespace flash {
namespace {

uint8_t shapeVersionOf(uint16_t code)
{
    switch (code) {
    case TagCode::DefineShape2: return 2;
    case TagCode::DefineShape3: return 3;
    case TagCode::DefineShape4: return 4;
    default: return 1;
    }
}

} // namespace

void parseDefineShape(TagContext& t)
{
    auto& r = t.body;
    auto shape = std::make_shared<ShapeDef>();
    shape->version = shapeVersionOf(t.code);
    shape->id = r.u16();
    shape->bounds = readRect(r);
    shape->edgeBounds = shape->bounds;
    if (shape->version == 4) {
        shape->edgeBounds = readRect(r);
        const uint8_t flags = r.u8();
        shape->nonZeroWinding = flags & 0x04;
    }
    StyleReader styles{r, shape->version, {}, &t.ctx};
    shape->fills = styles.fillArray();
    shape->lines = styles.lineArray();
    if (!styles.ok())
        return t.reject(styles.problem.empty() ? "style arrays end early" : styles.problem);

    BitReader bits(r);
    const unsigned fillBits = bits.ub(4);
    const unsigned lineBits = bits.ub(4);
    ShapePathBuilder builder(shape->fills, shape->lines, shape->paths, &t.ctx);
    const std::string problem = readShapeRecords(r, fillBits, lineBits, &styles, builder);
    builder.finish();
    if (!problem.empty())
        return t.reject(problem);
    const uint16_t id = shape->id;
    t.ctx.define(t.code, t.offset, id, std::shared_ptr<const ShapeDef>(std::move(shape)));
}

} // namespace flash
