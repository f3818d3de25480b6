// Solid fills drawn straight into the picture a frame is drawn into.
#pragma once

#include "flash/render/raster/CoverageRaster.h"
#include "flash/render/raster/FlatOutline.h"

#include <QColor>
#include <QImage>
#include <QRegion>
#include <QTransform>
#include <optional>
#include <vector>

class QPainter;
class QPainterPath;

namespace flash {

// Fills in one colour are most of what movies draw. Qt's anti-aliasing
// rasterizer slows down on long edges that run along pixel rows (it keeps each
// row's cells in a list searched from its start), which long curved strokes
// and wide outlines are full of; CoverageRaster does not. A DirectFill takes
// such fills from the painter when it draws into a plain picture with nothing
// but a region clip, and blends them itself, exactly as the painter would
// (source over, premultiplied) up to rounding.
class DirectFill {
public:
    // Usable when `painter` draws, anti-aliased and at one device pixel per
    // pixel, into a 32-bit picture whose clip, if any, is a region.
    // The painter must stay active, and its clip unchanged but for the masks
    // also given to clipTo(), while this is used.
    DirectFill(QPainter& painter, CoverageRaster& raster);

    // Fills `path` (its own fill rule) mapped by the painter's transform, in
    // `color`; false when it cannot, and the caller fills through the painter.
    [[nodiscard]] bool fill(const QPainterPath& path, const QColor& color);
    // The same for a path drawn again and again, cut into lines by `flat`.
    [[nodiscard]] bool fill(const QPainterPath& path, const FlatOutlineCache& flat, const QColor& color);
    // Lines one device pixel wide along `lines` mapped by the painter's
    // transform, as a cosmetic pen draws them (without joins or caps).
    [[nodiscard]] bool strokeHairlines(const QPainterPath& lines, const QColor& color);

    // Masks, kept as the painter keeps them: clipTo() narrows what may be
    // drawn to an area (device pixels), with anti-aliased edges, until the
    // restore() that matches the save() before it.
    void save();
    void restore();
    void clipTo(const QPainterPath& area);

private:
    // The share of each pixel of `box` that masks leave drawable (row by row).
    struct Mask {
        QRect box;
        std::vector<uint8_t> coverage;
        bool usable = true; // false: too large to hold, fills go to the painter
        // Where the share of a pixel within `box` is kept (those right of it on its row follow).
        [[nodiscard]] size_t offset(int x, int y) const
        {
            return size_t(y - box.top()) * size_t(box.width()) + size_t(x - box.left());
        }
    };

    // The painter's transform to the device, when a fill in `color` can be done here.
    [[nodiscard]] std::optional<QTransform> toDeviceFor(const QColor& color) const;
    [[nodiscard]] QRect drawableBounds() const;
    // Calls `lineTo(point)` for the corners of `path`'s lines, mapped by
    // `toDevice`, and `moveTo(point)` where each of its subpaths starts.
    template<typename MoveTo, typename LineTo>
    void forEachCorner(const QPainterPath& path, const QTransform& toDevice, MoveTo&& moveTo, LineTo&& lineTo) const;
    void addOutline(const QPainterPath& path, const QTransform& toDevice);
    // Blends `color` where the lines `addLines()` gives the raster enclose,
    // which lie within `reach` (device pixels).
    template<typename AddLines>
    bool fillLines(const QRectF& reach, Qt::FillRule fillRule, const QColor& color, AddLines&& addLines);
    // Calls `span(y, x, length, coverage)` for the runs of the coverage of the
    // lines `addLines()` gives the raster, within the clip region (but not the masks).
    template<typename AddLines, typename Span>
    void rasterize(QRect box, Qt::FillRule fillRule, AddLines&& addLines, Span&& span);
    void blendSpan(int y, int x, int length, uint8_t coverage, uint32_t color);
    void blendMaskedSpan(int y, int x, int length, uint8_t coverage, uint32_t color, const uint8_t* mask);

    QPainter& m_painter;
    CoverageRaster& m_raster;
    uchar* m_bits = nullptr; // null when the picture cannot be drawn into directly
    qsizetype m_bytesPerLine = 0;
    QRegion m_clip;          // device pixels that may be drawn
    std::vector<QRect> m_bandParts; // the clip's parts that meet the rows being filled
    std::vector<QPointF> m_devicePoints; // a kept outline's corners on the device
    std::vector<Mask> m_masks;      // the last one is in force, every earlier one folded into it
    std::vector<size_t> m_savedMasks; // the mask count at each save()
};

} // namespace flash
