// Draws a movie's display list with QPainter, caching what does not change
// between frames (shape outlines, decoded bitmaps).
#pragma once

#include "flash/model/DisplayList.h"
#include "flash/model/Movie.h"

#include <QSize>
#include <memory>

class QPainter;

namespace flash {

class RenderCache;

class Renderer {
public:
    explicit Renderer(std::shared_ptr<const Movie> movie);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Paints the whole view of `viewSize` pixels: the background colour, then the
    // stage scaled "show all" (aspect kept, centred) with anti-aliasing.
    void render(QPainter& painter, const DisplayList& root, QSize viewSize);

    // Twips of the stage to pixels of a view of `viewSize`, "show all".
    [[nodiscard]] static Matrix stageToView(const Rect& stage, QSize viewSize);

private:
    std::shared_ptr<const Movie> m_movie;
    std::unique_ptr<RenderCache> m_cache;
};

} // namespace flash
