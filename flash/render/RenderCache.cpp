// Cache lookups that build what is missing.
#include "flash/render/RenderCache.h"

#include "flash/render/BitmapDecoder.h"
#include "flash/render/ImageColorTransform.h"
#include "flash/render/Renderer.h"
#include "flash/render/SpriteFirstFrame.h"

#include <functional>

namespace flash {

namespace {

// Budgets, in bytes: together they keep a large movie's renderer within a
// modest footprint while a typical movie never evicts anything.
constexpr size_t kShapeBudget = 32u << 20;
constexpr size_t kMorphBudget = 12u << 20;
constexpr size_t kTextBudget = 8u << 20;
constexpr size_t kSpriteFrameBudget = 256; // entries
constexpr size_t kBitmapBudget = 80u << 20; // holds at least one picture of the largest size
constexpr size_t kTintedBitmapBudget = 16u << 20;
constexpr size_t kPictureBudget = 64u << 20; // clips cached as bitmaps

size_t imageCost(const QImage& image)
{
    return sizeof(QImage) + size_t(image.sizeInBytes() > 0 ? image.sizeInBytes() : 0);
}

size_t hashCombine(size_t seed, size_t value)
{
    return seed ^ (value + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2));
}

} // namespace

size_t RenderCache::MorphKeyHash::operator()(const MorphKey& k) const
{
    return hashCombine(std::hash<const void*>()(k.morph), k.ratio);
}

size_t RenderCache::TintKeyHash::operator()(const TintKey& k) const
{
    size_t seed = hashCombine(std::hash<const BitmapDef*>()(k.bitmap), size_t(k.border));
    const ColorTransform& t = k.transform;
    for (double v : {t.rMult, t.gMult, t.bMult, t.aMult, t.rAdd, t.gAdd, t.bAdd, t.aAdd})
        seed = hashCombine(seed, std::hash<double>()(v));
    return seed;
}

RenderCache::RenderCache()
    : m_shapes(kShapeBudget)
    , m_drawings(kShapeBudget / 4)
    , m_morphs(kMorphBudget)
    , m_texts(kTextBudget)
    , m_spriteFrames(kSpriteFrameBudget)
    , m_bitmaps(kBitmapBudget)
    , m_tintedBitmaps(kTintedBitmapBudget)
    , m_pictures(kPictureBudget)
{
}

std::shared_ptr<const ShapeOutline> RenderCache::shapeOutline(const ShapeDef& shape)
{
    if (auto found = m_shapes.find(&shape))
        return found;
    auto outline = std::make_shared<const ShapeOutline>(buildShapeOutline(shape));
    const size_t cost = outline->cost();
    return m_shapes.insert(&shape, std::move(outline), cost);
}

std::shared_ptr<const ShapeOutline> RenderCache::drawingOutline(const std::shared_ptr<const ShapeDef>& drawing)
{
    auto found = m_drawings.find(drawing.get());
    if (!found) {
        auto entry = std::make_shared<DrawingOutline>();
        entry->shape = drawing;
        entry->outline = buildShapeOutline(*drawing);
        const size_t cost = entry->outline.cost();
        found = m_drawings.insert(drawing.get(), std::move(entry), cost);
    }
    return std::shared_ptr<const ShapeOutline>(found, &found->outline);
}

std::shared_ptr<const MorphStep> RenderCache::morphStep(const MorphShapeDef& morph, uint16_t ratio)
{
    const MorphKey key{&morph, ratio};
    if (auto found = m_morphs.find(key))
        return found;
    auto step = std::make_shared<MorphStep>();
    step->shape = morphShapeAt(morph, ratio / 65535.0);
    step->outline = buildShapeOutline(step->shape);
    const size_t cost = step->outline.cost() * 2;
    return m_morphs.insert(key, std::move(step), cost);
}

std::shared_ptr<const TextOutline> RenderCache::textOutline(const Movie& movie, const TextDef& text)
{
    if (auto found = m_texts.find(&text))
        return found;
    auto outline = std::make_shared<const TextOutline>(buildTextOutline(text, movie));
    const size_t cost = outline->cost();
    return m_texts.insert(&text, std::move(outline), cost);
}

std::shared_ptr<const DisplayList> RenderCache::spriteFirstFrame(const Movie& movie, const SpriteDef& sprite)
{
    if (auto found = m_spriteFrames.find(&sprite))
        return found;
    std::shared_ptr<const DisplayList> frame = buildSpriteFirstFrame(movie, sprite);
    return m_spriteFrames.insert(&sprite, std::move(frame), 1);
}

QImage RenderCache::decoded(const Movie& movie, const BitmapDef* def)
{
    if (!def)
        return {};
    if (auto found = m_bitmaps.find(def))
        return *found;
    QImage image = decodeBitmap(*def, movie.jpegTables);
    const size_t cost = imageCost(image);
    return *m_bitmaps.insert(def, std::make_shared<const QImage>(std::move(image)), cost);
}

QImage RenderCache::tinted(const Movie& movie, const BitmapDef* def, const ColorTransform& transform)
{
    if (!def || transform.isIdentity())
        return decoded(movie, def);
    const TintKey key{def, transform};
    if (auto found = m_tintedBitmaps.find(key))
        return *found;
    QImage image = colorTransformed(decoded(movie, def), transform);
    const size_t cost = imageCost(image);
    return *m_tintedBitmaps.insert(key, std::make_shared<const QImage>(std::move(image)), cost);
}

const BitmapDef* RenderCache::bitmapDef(const Movie& movie, uint16_t id) const
{
    const uint32_t frame = &movie == m_mainMovie ? m_dictionaryFrame : UINT32_MAX;
    return movie.find<BitmapDef>(id, frame).get();
}

QImage RenderCache::bitmap(const Movie& movie, uint16_t id)
{
    return decoded(movie, bitmapDef(movie, id));
}

QImage RenderCache::bitmap(const Movie& movie, uint16_t id, const ColorTransform& transform)
{
    return tinted(movie, bitmapDef(movie, id), transform);
}

QImage RenderCache::bitmapWithEdges(const Movie& movie, uint16_t id, const ColorTransform& transform, int border)
{
    const BitmapDef* def = bitmapDef(movie, id);
    if (border <= 0 || !def)
        return tinted(movie, def, transform);
    const TintKey key{def, transform, border};
    if (auto found = m_tintedBitmaps.find(key))
        return *found;
    QImage image = withRepeatedEdges(tinted(movie, def, transform), border);
    const size_t cost = imageCost(image);
    return *m_tintedBitmaps.insert(key, std::make_shared<const QImage>(std::move(image)), cost);
}

std::shared_ptr<const RenderCache::CachedPicture> RenderCache::cachedPicture(uint64_t objectId, uint64_t state)
{
    auto found = m_pictures.find(objectId);
    return found && found->state == state ? found : nullptr;
}

void RenderCache::keepPicture(uint64_t objectId, CachedPicture picture)
{
    const size_t cost = imageCost(picture.image);
    (void)m_pictures.insert(objectId, std::make_shared<const CachedPicture>(std::move(picture)), cost);
}

CacheStatistics RenderCache::statistics() const
{
    CacheStatistics stats;
    stats.shapeOutlines = m_shapes.size() + m_drawings.size();
    stats.morphSteps = m_morphs.size();
    stats.textOutlines = m_texts.size();
    stats.bitmaps = m_bitmaps.size();
    stats.tintedBitmaps = m_tintedBitmaps.size();
    stats.bytes = m_shapes.cost() + m_drawings.cost() + m_morphs.cost() + m_texts.cost() + m_bitmaps.cost() + m_tintedBitmaps.cost();
    stats.hits = m_shapes.hits() + m_drawings.hits() + m_morphs.hits() + m_texts.hits() + m_bitmaps.hits() + m_tintedBitmaps.hits();
    stats.misses = m_shapes.misses() + m_drawings.misses() + m_morphs.misses() + m_texts.misses() + m_bitmaps.misses() + m_tintedBitmaps.misses();
    return stats;
}

void RenderCache::clear()
{
    m_shapes.clear();
    m_drawings.clear();
    m_morphs.clear();
    m_texts.clear();
    m_spriteFrames.clear();
    m_bitmaps.clear();
    m_tintedBitmaps.clear();
    m_pictures.clear();
    m_videoFrames.clear();
}

} // namespace flash
