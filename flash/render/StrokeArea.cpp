#include "flash/render/StrokeArea.h"

#include "flash/render/StrokeCaps.h"

#include <QPainterPathStroker>

namespace flash {

const QPainterPath& StrokeArea::along(const QPainterPath& path, const QPen& pen, Qt::PenCapStyle startCap,
                                      Qt::PenCapStyle endCap) const
{
    const Pen key{pen.widthF(), pen.miterLimit(), startCap, endCap, pen.joinStyle()};
    if (m_built && m_built->pen == key)
        return m_built->area;
    QPainterPath area;
    if (startCap == endCap) {
        QPen same = pen;
        same.setCapStyle(startCap);
        area = QPainterPathStroker(same).createStroke(path);
    } else {
        area = strokeAreaWithCaps(path, pen, startCap, endCap);
    }
    m_built = Built{key, std::move(area)};
    return m_built->area;
}

} // namespace flash
