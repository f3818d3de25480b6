#include "flash/render/raster/DirectFill.h"

#include "flash/render/raster/CurveLines.h"
#include "flash/render/raster/SpanBlend.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace flash {

namespace {

// Curves are cut into lines no farther than this from them, in device pixels.
constexpr double kFlatness = 0.1;
// A mask larger than this (pixels) is left to the painter, with the fills under it.
constexpr qint64 kMaxMaskPixels = qint64(4096) * 2304;
// Rows of the raster's cells filled at a time.
constexpr int kBandRows = 128;

// The pixels `reach` may touch, kept near `bounds` before they become integers.
QRect boxWithin(const QRectF& reach, const QRect& bounds)
{
    if (!(std::isfinite(reach.left()) && std::isfinite(reach.right()) && std::isfinite(reach.top())
          && std::isfinite(reach.bottom())))
        return bounds;
    return reach.intersected(QRectF(bounds).adjusted(-1, -1, 1, 1)).toAlignedRect() & bounds;
}

// How far apart, in device pixels, two points one unit apart can be put by `toDevice`.
double largestStretch(const QTransform& toDevice)
{
    return std::max(std::hypot(toDevice.m11(), toDevice.m12()), std::hypot(toDevice.m21(), toDevice.m22()));
}

} // namespace

DirectFill::DirectFill(QPainter& painter, CoverageRaster& raster) : m_painter(painter), m_raster(raster)
{
    const QPaintEngine* engine = painter.isActive() ? painter.paintEngine() : nullptr;
    QPaintDevice* device = painter.device();
    if (!engine || engine->type() != QPaintEngine::Raster || !device || device->devType() != QInternal::Image)
        return;
    const auto* image = static_cast<const QImage*>(device);
    const bool plain = image->format() == QImage::Format_ARGB32_Premultiplied
                       || image->format() == QImage::Format_RGB32;
    // The clip is read in device pixels, which the painter's own coordinates are only untransformed.
    if (!plain || image->devicePixelRatio() != 1.0 || !painter.transform().isIdentity()
        || painter.deviceTransform() != painter.transform())
        return;
    m_clip = painter.hasClipping() ? painter.clipRegion() & image->rect() : QRegion(image->rect());
    // The painter writes into these very pixels (it made them its own when it began).
    m_bits = const_cast<uchar*>(image->constBits());
    m_bytesPerLine = image->bytesPerLine();
}

std::optional<QTransform> DirectFill::toDeviceFor(const QColor& color) const
{
    const bool usable = m_bits && color.isValid() && (m_masks.empty() || m_masks.back().usable)
                        && m_painter.opacity() == 1.0
                        && m_painter.compositionMode() == QPainter::CompositionMode_SourceOver
                        && m_painter.testRenderHint(QPainter::Antialiasing);
    if (!usable)
        return std::nullopt;
    const QTransform toDevice = m_painter.deviceTransform();
    if (!toDevice.isAffine())
        return std::nullopt;
    return toDevice;
}

QRect DirectFill::drawableBounds() const
{
    const QRect bounds = m_clip.boundingRect();
    return m_masks.empty() ? bounds : bounds & m_masks.back().box;
}

template<typename AddLines, typename Span>
void DirectFill::rasterize(QRect box, Qt::FillRule fillRule, AddLines&& addLines, Span&& span)
{
    const WindingRule rule = fillRule == Qt::WindingFill ? WindingRule::NonZero : WindingRule::EvenOdd;
    // A tall box is done in bands, each given every line: the raster's cells
    // for a band stay few enough to sit in the processor's cache.
    for (int top = box.top(); top <= box.bottom(); top += kBandRows) {
        const QRect band(box.left(), top, box.width(), std::min(kBandRows, box.bottom() + 1 - top));
        m_bandParts.clear();
        for (const QRect& part : m_clip) {
            if (part.intersects(band))
                m_bandParts.push_back(part);
        }
        if (m_bandParts.empty())
            continue;
        m_raster.reset(band);
        addLines();
        m_raster.sweep(rule, [&](int y, int x, int length, uint8_t coverage) {
            for (const QRect& part : m_bandParts) {
                if (y < part.top() || y > part.bottom())
                    continue;
                const int from = std::max(x, part.left());
                const int to = std::min(x + length, part.right() + 1);
                if (from < to)
                    span(y, from, to - from, coverage);
            }
        });
    }
}

bool DirectFill::fill(const QPainterPath& path, const QColor& color)
{
    const auto toDevice = toDeviceFor(color);
    return toDevice
           && fillLines(toDevice->mapRect(path.controlPointRect()), path.fillRule(), color,
                        [&] { addOutline(path, *toDevice); });
}

bool DirectFill::fill(const QPainterPath& path, const FlatOutlineCache& flat, const QColor& color)
{
    const auto toDevice = toDeviceFor(color);
    if (!toDevice)
        return false;
    const FlatOutline& outline = flat.at(path, kFlatness / largestStretch(*toDevice));
    m_devicePoints.resize(outline.points.size());
    std::transform(outline.points.begin(), outline.points.end(), m_devicePoints.begin(),
                   [&](QPointF point) { return toDevice->map(point); });
    return fillLines(toDevice->mapRect(outline.bounds), outline.fillRule, color, [&] {
        uint32_t start = 0;
        for (const uint32_t end : outline.ends) {
            QPointF from = m_devicePoints[end - 1]; // every outline is filled closed
            for (uint32_t i = start; i < end; ++i) {
                const QPointF to = m_devicePoints[i];
                m_raster.addLine(from.x(), from.y(), to.x(), to.y());
                from = to;
            }
            start = end;
        }
    });
}

template<typename AddLines>
bool DirectFill::fillLines(const QRectF& reach, Qt::FillRule fillRule, const QColor& color, AddLines&& addLines)
{
    if (color.alpha() == 0)
        return true;
    const QRect box = boxWithin(reach, drawableBounds());
    if (box.isEmpty())
        return true;
    const uint32_t premultiplied = qPremultiply(color.rgba());
    if (m_masks.empty()) {
        rasterize(box, fillRule, addLines, [&](int y, int x, int length, uint8_t coverage) {
            blendSpan(y, x, length, coverage, premultiplied);
        });
    } else {
        const Mask& mask = m_masks.back();
        rasterize(box, fillRule, addLines, [&](int y, int x, int length, uint8_t coverage) {
            blendMaskedSpan(y, x, length, coverage, premultiplied, mask.coverage.data() + mask.offset(x, y));
        });
    }
    return true;
}

void DirectFill::save()
{
    m_savedMasks.push_back(m_masks.size());
}

void DirectFill::restore()
{
    if (m_savedMasks.empty())
        return;
    m_masks.resize(std::min(m_masks.size(), m_savedMasks.back()));
    m_savedMasks.pop_back();
}

void DirectFill::clipTo(const QPainterPath& area)
{
    Mask mask;
    if (!m_bits || (!m_masks.empty() && !m_masks.back().usable)) {
        mask.usable = false;
        m_masks.push_back(std::move(mask));
        return;
    }
    mask.box = boxWithin(area.controlPointRect(), drawableBounds());
    if (qint64(mask.box.width()) * mask.box.height() > kMaxMaskPixels) {
        mask.usable = false;
        m_masks.push_back(std::move(mask));
        return;
    }
    mask.coverage.assign(size_t(mask.box.width()) * size_t(std::max(0, mask.box.height())), 0);
    if (!mask.box.isEmpty()) {
        const Mask* outer = m_masks.empty() ? nullptr : &m_masks.back();
        const auto addLines = [&] { addOutline(area, QTransform()); };
        rasterize(mask.box, area.fillRule(), addLines, [&](int y, int x, int length, uint8_t coverage) {
            uint8_t* row = mask.coverage.data() + mask.offset(x, y);
            if (!outer) {
                std::fill_n(row, length, coverage);
                return;
            }
            // Inside another mask, a pixel keeps the share both leave it.
            const uint8_t* outerRow = outer->coverage.data() + outer->offset(x, y);
            for (int i = 0; i < length; ++i)
                row[i] = uint8_t((uint32_t(coverage) * outerRow[i] + 127) / 255);
        });
    }
    m_masks.push_back(std::move(mask));
}

template<typename MoveTo, typename LineTo>
void DirectFill::forEachCorner(const QPainterPath& path, const QTransform& toDevice, MoveTo&& moveTo,
                               LineTo&& lineTo) const
{
    const QRect box = m_raster.box();
    QPointF at;
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QPointF point = toDevice.map(QPointF(element.x, element.y));
        if (element.isMoveTo()) {
            moveTo(point);
        } else if (element.isLineTo()) {
            lineTo(point);
        } else if (element.isCurveTo() && i + 2 < count) {
            const QPointF c1 = point;
            const QPointF c2 = toDevice.map(QPointF(path.elementAt(i + 1).x, path.elementAt(i + 1).y));
            const QPointF end = toDevice.map(QPointF(path.elementAt(i + 2).x, path.elementAt(i + 2).y));
            i += 2;
            // A curve wholly above, below or right of the box changes none of its pixels.
            const double top = std::min({at.y(), c1.y(), c2.y(), end.y()});
            const double bottom = std::max({at.y(), c1.y(), c2.y(), end.y()});
            const double left = std::min({at.x(), c1.x(), c2.x(), end.x()});
            if (bottom <= box.top() || top >= box.bottom() + 1 || left >= box.right() + 1)
                lineTo(end);
            else
                forEachCubicPoint(at, c1, c2, end, kFlatness, lineTo);
            at = end;
            continue;
        }
        at = point;
    }
}

void DirectFill::addOutline(const QPainterPath& path, const QTransform& toDevice)
{
    QPointF start;
    QPointF at;
    auto lineTo = [&](QPointF to) {
        m_raster.addLine(at.x(), at.y(), to.x(), to.y());
        at = to;
    };
    auto moveTo = [&](QPointF to) {
        lineTo(start); // every outline is filled closed
        start = at = to;
    };
    forEachCorner(path, toDevice, moveTo, lineTo);
    lineTo(start);
}

bool DirectFill::strokeHairlines(const QPainterPath& lines, const QColor& color)
{
    const auto toDevice = toDeviceFor(color);
    if (!toDevice)
        return false;
    const QRectF reach = toDevice->mapRect(lines.controlPointRect()).adjusted(-1, -1, 1, 1);
    return fillLines(reach, Qt::WindingFill, color, [&] {
        QPointF at;
        // Each line is a pixel-wide band, all wound the same way so that where they overlap they count once.
        auto lineTo = [&](QPointF to) {
            const QPointF along = to - at;
            const double length = std::hypot(along.x(), along.y());
            if (length > 0) {
                const QPointF half = QPointF(-along.y(), along.x()) * (0.5 / length);
                const QPointF corners[4] = {at + half, to + half, to - half, at - half};
                for (int i = 0; i < 4; ++i) {
                    const QPointF& from = corners[i];
                    const QPointF& next = corners[(i + 1) % 4];
                    m_raster.addLine(from.x(), from.y(), next.x(), next.y());
                }
            }
            at = to;
        };
        forEachCorner(lines, *toDevice, [&](QPointF to) { at = to; }, lineTo);
    });
}

void DirectFill::blendMaskedSpan(int y, int x, int length, uint8_t coverage, uint32_t color, const uint8_t* mask)
{
    uint32_t* pixels = reinterpret_cast<uint32_t*>(m_bits + qsizetype(y) * m_bytesPerLine) + x;
    for (int i = 0; i < length; ++i) {
        // Inside the mask, a run is blended as if there were none.
        if (mask[i] == 255) {
            int end = i + 1;
            while (end < length && mask[end] == 255)
                ++end;
            blendSpan(y, x + i, end - i, coverage, color);
            i = end - 1;
            continue;
        }
        const uint32_t share = (uint32_t(coverage) * mask[i] + 127) / 255;
        if (share == 0)
            continue;
        const uint32_t source = share == 255 ? color : byteMultiply(color, share);
        pixels[i] = source + byteMultiply(pixels[i], 255 - qAlpha(source));
    }
}

void DirectFill::blendSpan(int y, int x, int length, uint8_t coverage, uint32_t color)
{
    uint32_t* pixels = reinterpret_cast<uint32_t*>(m_bits + qsizetype(y) * m_bytesPerLine) + x;
    const uint32_t source = coverage == 255 ? color : byteMultiply(color, coverage);
    if (qAlpha(source) == 255)
        fillPixels(pixels, length, source);
    else
        blendPixels(pixels, length, source);
}

} // namespace flash
