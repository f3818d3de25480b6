// Everything the renderer derives from a movie's definitions and keeps
// between frames: shape and text outlines, morph steps, decoded bitmaps and
// their colour-transformed variants. Each cache is bounded.
#pragma once

#include "flash/stage/DisplayList.h"
#include "flash/model/Movie.h"
#include "flash/render/LruCache.h"
#include "flash/render/ShapeOutline.h"
#include "flash/render/TextOutline.h"
#include "flash/render/VideoFrames.h"

#include <QImage>
#include <memory>

namespace flash {

struct CacheStatistics;

// A morph shape at one ratio, with its outline.
struct MorphStep {
    ShapeDef shape;
    ShapeOutline outline;
};

// Definitions are told apart by address, so one cache serves every movie on
// stage; what is looked up by id (bitmaps, fonts) is looked up in the movie given.
class RenderCache {
public:
    RenderCache();

    [[nodiscard]] std::shared_ptr<const ShapeOutline> shapeOutline(const ShapeDef& shape);
    // A shape a script drew. The entry keeps the shape alive, so that a later
    // drawing can never reuse its address while the outline is cached.
    [[nodiscard]] std::shared_ptr<const ShapeOutline> drawingOutline(const std::shared_ptr<const ShapeDef>& drawing);
    // `ratio` as placed, 0..65535.
    [[nodiscard]] std::shared_ptr<const MorphStep> morphStep(const MorphShapeDef& morph, uint16_t ratio);
    [[nodiscard]] std::shared_ptr<const TextOutline> textOutline(const Movie& movie, const TextDef& text);
    // A sprite's first frame, for sprites shown by buttons.
    [[nodiscard]] std::shared_ptr<const DisplayList> spriteFirstFrame(const Movie& movie, const SpriteDef& sprite);
    // The decoded bitmap `id` of `movie`; null when missing or broken.
    [[nodiscard]] QImage bitmap(const Movie& movie, uint16_t id);
    // The bitmap under `transform`.
    [[nodiscard]] QImage bitmap(const Movie& movie, uint16_t id, const ColorTransform& transform);
    // The bitmap under `transform` with `border` pixels around it that repeat
    // its edge pixels, for fills that extend a picture's edges outwards.
    [[nodiscard]] QImage bitmapWithEdges(const Movie& movie, uint16_t id, const ColorTransform& transform, int border);

    [[nodiscard]] VideoFrames& videoFrames() { return m_videoFrames; }

    // A clip drawn as a bitmap (cacheAsBitmap, or filtered), kept while what it
    // draws and how it is scaled stay the same.
    struct CachedPicture {
        QImage image;      // filters applied
        QPoint offset;     // of the image's corner from the clip's origin, in whole device pixels
        uint64_t state = 0; // contentState, the scale and sub-pixel place, colour and filters it was drawn with
    };
    [[nodiscard]] std::shared_ptr<const CachedPicture> cachedPicture(uint64_t objectId, uint64_t state);
    void keepPicture(uint64_t objectId, CachedPicture picture);

    // The main movie's bitmaps are looked up as defined on this frame of its
    // timeline (ids may be defined anew); other movies' as they end.
    void setDictionaryFrame(const Movie* main, uint32_t frame)
    {
        m_mainMovie = main;
        m_dictionaryFrame = frame;
    }

    [[nodiscard]] CacheStatistics statistics() const;
    void clear();

private:
    struct MorphKey {
        const MorphShapeDef* morph = nullptr;
        uint16_t ratio = 0;
        friend bool operator==(const MorphKey&, const MorphKey&) = default;
    };
    struct MorphKeyHash {
        size_t operator()(const MorphKey& k) const;
    };
    struct TintKey {
        const BitmapDef* bitmap = nullptr;
        ColorTransform transform;
        int border = 0;
        friend bool operator==(const TintKey&, const TintKey&) = default;
    };
    struct TintKeyHash {
        size_t operator()(const TintKey& k) const;
    };

    [[nodiscard]] const BitmapDef* bitmapDef(const Movie& movie, uint16_t id) const;

    const Movie* m_mainMovie = nullptr;
    uint32_t m_dictionaryFrame = 0;
    struct DrawingOutline {
        std::shared_ptr<const ShapeDef> shape;
        ShapeOutline outline;
    };

    LruCache<const ShapeDef*, ShapeOutline> m_shapes;
    LruCache<const ShapeDef*, DrawingOutline> m_drawings;
    LruCache<MorphKey, MorphStep, MorphKeyHash> m_morphs;
    LruCache<const TextDef*, TextOutline> m_texts;
    LruCache<const SpriteDef*, DisplayList> m_spriteFrames;
    [[nodiscard]] QImage decoded(const Movie& movie, const BitmapDef* bitmap);
    [[nodiscard]] QImage tinted(const Movie& movie, const BitmapDef* bitmap, const ColorTransform& transform);

    LruCache<const BitmapDef*, QImage> m_bitmaps; // keyed by definition: the movie keeps every one alive
    LruCache<TintKey, QImage, TintKeyHash> m_tintedBitmaps;
    LruCache<uint64_t, CachedPicture> m_pictures;
    VideoFrames m_videoFrames;
};

} // namespace flash
