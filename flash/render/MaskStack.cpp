// Applies and lifts mask clips on a painter.
#include "flash/render/MaskStack.h"

#include "flash/render/raster/DirectFill.h"

#include <QPainter>

namespace flash {

MaskStack::~MaskStack()
{
    restoreSaved();
}

void MaskStack::push(int32_t clipDepth, const QPainterPath& area)
{
    saveOnce();
    m_masks.push_back({clipDepth, area});
    clipTo(area);
}

void MaskStack::endBefore(int32_t depth)
{
    const auto ended = std::erase_if(m_masks, [depth](const Mask& mask) { return depth > mask.clipDepth; });
    if (ended == 0)
        return;
    restoreSaved();
    if (m_masks.empty())
        return;
    saveOnce();
    for (const Mask& mask : m_masks)
        clipTo(mask.area);
}

void MaskStack::saveOnce()
{
    if (!m_saved) {
        m_painter.save();
        m_saved = true;
        if (m_direct)
            m_direct->save();
    }
}

void MaskStack::restoreSaved()
{
    if (!m_saved)
        return;
    m_painter.restore();
    m_saved = false;
    if (m_direct)
        m_direct->restore();
}

void MaskStack::clipTo(const QPainterPath& area)
{
    m_painter.resetTransform();
    m_painter.setClipPath(area, Qt::IntersectClip);
    if (m_direct)
        m_direct->clipTo(area);
}

} // namespace flash
