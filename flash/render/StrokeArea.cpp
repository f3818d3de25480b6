#include "flash/render/StrokeArea.h"

#include "flash/render/PathPieces.h"
#include "flash/render/StrokeCaps.h"

#include <QPainterPathStroker>

namespace flash {

namespace {

// `path` cut into paths of kOutlinesPerPiece subpaths each.
std::vector<QPainterPath> subpathGroups(const QPainterPath& path)
{
    std::vector<QPainterPath> groups;
    int subpaths = 0;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.isMoveTo() && subpaths++ % kOutlinesPerPiece == 0)
            groups.emplace_back();
        if (groups.empty())
            groups.emplace_back();
        QPainterPath& group = groups.back();
        if (element.isMoveTo()) {
            group.moveTo(element);
        } else if (element.isLineTo()) {
            group.lineTo(element);
        } else if (element.isCurveTo() && i + 2 < path.elementCount()) {
            group.cubicTo(element, path.elementAt(i + 1), path.elementAt(i + 2));
            i += 2;
        }
    }
    return groups;
}

QPainterPath areaOf(const QPainterPath& path, const QPen& pen, Qt::PenCapStyle startCap, Qt::PenCapStyle endCap)
{
    if (startCap != endCap)
        return strokeAreaWithCaps(path, pen, startCap, endCap);
    QPen same = pen;
    same.setCapStyle(startCap);
    return QPainterPathStroker(same).createStroke(path);
}

} // namespace

const StrokeArea::Built& StrokeArea::build(const QPainterPath& path, const QPen& pen, Qt::PenCapStyle startCap,
                                           Qt::PenCapStyle endCap) const
{
    const Pen key{pen.widthF(), pen.miterLimit(), startCap, endCap, pen.joinStyle()};
    if (m_built && m_built->pen == key)
        return *m_built;
    // Each subpath is stroked on its own (joins never cross from one to the
    // next), so the pieces together cover exactly the whole path's area.
    std::vector<QPainterPath> pieces;
    for (const QPainterPath& group : subpathGroups(path))
        pieces.push_back(areaOf(group, pen, startCap, endCap));
    m_built = Built{key, std::move(pieces), std::nullopt, {}};
    return *m_built;
}

std::span<const QPainterPath> StrokeArea::piecesAlong(const QPainterPath& path, const QPen& pen,
                                                      Qt::PenCapStyle startCap, Qt::PenCapStyle endCap) const
{
    return build(path, pen, startCap, endCap).pieces;
}

const FlatOutlineCache& StrokeArea::flatAlong(const QPainterPath& path, const QPen& pen, Qt::PenCapStyle startCap,
                                             Qt::PenCapStyle endCap) const
{
    return build(path, pen, startCap, endCap).flatWhole;
}

const QPainterPath& StrokeArea::along(const QPainterPath& path, const QPen& pen, Qt::PenCapStyle startCap,
                                      Qt::PenCapStyle endCap) const
{
    build(path, pen, startCap, endCap);
    if (!m_built->whole) {
        QPainterPath whole;
        whole.setFillRule(Qt::WindingFill); // as the stroker's own areas are filled
        for (const QPainterPath& piece : m_built->pieces)
            whole.addPath(piece);
        m_built->whole = std::move(whole);
    }
    return *m_built->whole;
}

} // namespace flash
