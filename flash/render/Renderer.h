// Draws a movie's display list with QPainter, caching what does not change
// between frames (shape outlines, decoded bitmaps).
#pragma once

#include "flash/stage/DisplayList.h"
#include "flash/model/Movie.h"

#include "flash/stage/StageLayout.h"

#include <QImage>
#include <QSize>
#include <cstddef>
#include <memory>
#include <span>

class QPainter;

namespace flash {

class CoverageRaster;
class RenderCache;

enum class RenderQuality : uint8_t {
    Low,  // no anti-aliasing, no bitmap smoothing
    High, // anti-aliased edges, smoothed bitmaps where the movie asks for it
};

// What the renderer's caches hold, for benchmarks and diagnostics.
struct CacheStatistics {
    size_t shapeOutlines = 0;
    size_t morphSteps = 0;
    size_t textOutlines = 0;
    size_t bitmaps = 0;
    size_t tintedBitmaps = 0;
    size_t bytes = 0;   // approximate memory held
    size_t hits = 0;
    size_t misses = 0;
};

class Renderer {
public:
    explicit Renderer(std::shared_ptr<const Movie> movie);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Paints the whole view of `viewSize` pixels: the background colour, then the
    // stage scaled "show all" (aspect kept, centred) with anti-aliasing. The
    // painter's coordinates are taken to be the view's pixels.
    void render(QPainter& painter, const DisplayList& root, QSize viewSize);
    // The same with the main timeline's clip itself: what scripts set on it and drew into it show too.
    void render(QPainter& painter, const DisplayObject& root, QSize viewSize);
    // The same with every level, the lowest first.
    void render(QPainter& painter, std::span<const DisplayObject* const> levels, QSize viewSize);

    // The same frame drawn into a new opaque image of `viewSize`.
    [[nodiscard]] QImage renderToImage(const DisplayList& root, QSize viewSize);

    // Twips of the stage to pixels of a view of `viewSize`, "show all" unless the layout says otherwise.
    [[nodiscard]] static Matrix stageToView(const Rect& stage, QSize viewSize, const StageLayout& layout = {});
    // How the stage fits the view, as the movie's scripts set it.
    void setLayout(const StageLayout& layout) { m_layout = layout; }

    // Draws `object` and what it shows into `image` (premultiplied ARGB32): `toPixels`
    // takes its own twips to the image's pixels; its place on stage is not used.
    void drawObjectInto(QImage& image, const DisplayObject& object, const Movie& movie, const Matrix& toPixels,
                        const ColorTransform& transform, BlendMode blend, const QRect& clip, bool smoothing);
    // Bitmap `id` of `movie`, decoded; null when it has none.
    [[nodiscard]] QImage bitmap(const Movie& movie, uint16_t id);

    // Whether `stagePoint` (twips) falls on what `object` (of `movie`) draws, shape by shape.
    [[nodiscard]] bool hitTest(const DisplayObject& object, const Movie& movie, Point stagePoint);

    void setQuality(RenderQuality quality) { m_quality = quality; }
    // The main timeline's frame, for characters a movie defines anew as it plays.
    void setDictionaryFrame(uint32_t frame);
    [[nodiscard]] RenderQuality quality() const { return m_quality; }

    [[nodiscard]] CacheStatistics cacheStatistics() const;
    // Drops everything cached (the movie's definitions stay).
    void clearCaches();

private:
    // Background, scaling and `draw`, on the drawing thread (see DrawingThread.h).
    template<typename Draw>
    void paintView(QPainter& painter, QSize viewSize, Draw&& draw);

    std::shared_ptr<const Movie> m_movie;
    std::unique_ptr<RenderCache> m_cache;
    std::unique_ptr<CoverageRaster> m_raster; // kept: its buffer grows to the largest fill drawn
    StageLayout m_layout;
    RenderQuality m_quality = RenderQuality::High;
};

} // namespace flash
