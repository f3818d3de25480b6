// Tag bodies for shapes, morph shapes and buttons.
#include "DefinitionTags.h"

#include "Records.h"
#include "ShapeEncoder.h"

#include <stdexcept>

namespace swfw {

std::vector<uint8_t> shapeBody(uint16_t id, const ShapeBuilder& shape, int version, FillRule rule)
{
    if (version < 1 || version > 4)
        throw std::invalid_argument("DefineShape version is 1 to 4");
    if (rule == FillRule::NonZero && version < 4)
        throw std::invalid_argument("the non-zero fill rule needs DefineShape4");
    BitWriter w;
    w.u16(id);
    writeRect(w, shapeBounds(shape));
    if (version == 4) {
        writeRect(w, shapeBounds(shape, kPixelUnits, BoundsKind::EdgesOnly));
        bool fixedStrokes = false, scalingStrokes = false;
        for (const auto& g : shape.groups())
            for (const auto& l : g.lines)
                (l.noHScale || l.noVScale ? fixedStrokes : scalingStrokes) = true;
        w.u8(static_cast<uint8_t>((rule == FillRule::NonZero ? 0x04 : 0) | (fixedStrokes ? 0x02 : 0) | (scalingStrokes ? 0x01 : 0)));
    }
    writeShapeWithStyle(w, shape, version);
    return w.take();
}

std::vector<uint8_t> morphShapeBody(uint16_t id, const ShapeBuilder& start, const ShapeBuilder& end, int version)
{
    if (version != 1 && version != 2)
        throw std::invalid_argument("DefineMorphShape version is 1 or 2");
    if (edgeCount(start) != edgeCount(end))
        throw std::invalid_argument("morph start and end differ in edge count");
    const auto& startStyles = start.groups().front();
    const auto& endStyles = end.groups().front();
    BitWriter w;
    w.u16(id);
    writeRect(w, shapeBounds(start));
    writeRect(w, shapeBounds(end));
    if (version == 2) {
        writeRect(w, shapeBounds(start, kPixelUnits, BoundsKind::EdgesOnly));
        writeRect(w, shapeBounds(end, kPixelUnits, BoundsKind::EdgesOnly));
        w.u8(startStyles.lines.empty() ? 0 : 0x01); // strokes scale
    }
    const size_t offsetField = w.size();
    w.u32(0); // distance to the end edges, known once the start is written
    writeMorphFillStyles(w, startStyles.fills, endStyles.fills);
    writeMorphLineStyles(w, startStyles.lines, endStyles.lines, version);
    writeShape(w, start, kPixelUnits);
    w.patchU32(offsetField, static_cast<uint32_t>(w.size() - offsetField - 4));
    writeShape(w, end, kPixelUnits, RecordContent::MovesOnly);
    return w.take();
}

std::vector<uint8_t> ButtonBuilder::body(uint16_t id, int version) const
{
    if (version != 1 && version != 2)
        throw std::invalid_argument("DefineButton version is 1 or 2");
    BitWriter w;
    w.u16(id);
    size_t actionOffsetField = 0;
    if (version == 2) {
        w.u8(m_trackAsMenu ? 1 : 0);
        actionOffsetField = w.size();
        w.u16(0);
    }
    for (const auto& p : m_parts) {
        w.u8(p.states & 0x0F);
        w.u16(p.characterId);
        w.u16(p.depth);
        writeMatrix(w, p.matrix);
        if (version == 2)
            writeColorTransform(w, p.colorTransform.value_or(ColorTransform{}), true);
    }
    w.u8(0); // end of parts
    if (version == 1) {
        if (m_actions.size() > 1)
            throw std::invalid_argument("DefineButton has one action list");
        w.bytes(m_actions.empty() ? Actions().bytes() : m_actions.front().second);
        return w.take();
    }
    if (!m_actions.empty())
        w.patchU16(actionOffsetField, static_cast<uint16_t>(w.size() - actionOffsetField));
    for (size_t i = 0; i < m_actions.size(); ++i) {
        const auto& code = m_actions[i].second;
        const bool last = i + 1 == m_actions.size();
        w.u16(last ? 0 : static_cast<uint16_t>(4 + code.size()));
        w.u8(static_cast<uint8_t>(m_actions[i].first >> 8));
        w.u8(static_cast<uint8_t>(m_actions[i].first));
        w.bytes(code);
    }
    return w.take();
}

} // namespace swfw
