// Builds small movies and display lists in code and renders them for pixel checks.
#pragma once

#include "flash/stage/DisplayList.h"
#include "flash/model/Movie.h"
#include "flash/render/Renderer.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

namespace flash::test {

// Twips from pixels, so that scenes read in pixels.
inline constexpr double px(double pixels) { return pixels * kTwipsPerPixel; }

// A closed rectangle traced clockwise on screen (y down) from its top-left corner,
// so that its inside lies to the right of every edge.
ShapePath rectanglePath(double x0, double y0, double x1, double y1, uint32_t fill0, uint32_t fill1, uint32_t line = 0);
ShapePath reversedPath(const ShapePath& path);

FillStyle solidFill(Rgba color);
LineStyle solidLine(uint16_t widthTwips, Rgba color);

// A shape with one fill style (index 1) covering the rectangle, in pixels.
std::shared_ptr<ShapeDef> filledRectangle(double x0, double y0, double x1, double y1, FillStyle fill);

// A movie whose stage is `width` x `height` pixels, and the display list shown.
class RenderScene {
public:
    RenderScene(int width = 100, int height = 100, Rgba background = {255, 255, 255, 255});

    Movie& movie() { return *m_movie; }
    DisplayList& root() { return m_root; }

    // Adds a definition to the dictionary under its own id.
    template<typename T>
    std::shared_ptr<const T> define(uint16_t id, std::shared_ptr<T> def)
    {
        def->id = id;
        m_movie->dictionary[id] = std::shared_ptr<const T>(def);
        return def;
    }

    // Places a character in `list` (the root when null).
    DisplayObject& place(uint16_t depth, Character character, Matrix matrix = {}, DisplayList* list = nullptr);
    // Places a sprite whose children are given by the returned display list.
    DisplayObject& placeSprite(uint16_t depth, Matrix matrix = {}, DisplayList* list = nullptr, uint16_t spriteId = 0);

    // Renders with a renderer kept across calls (so caches are exercised).
    QImage render(QSize size = {});

private:
    std::shared_ptr<Movie> m_movie;
    DisplayList m_root;
    std::unique_ptr<Renderer> m_renderer;
};

// Colour at a pixel, as straight (not premultiplied) RGBA.
Rgba pixelAt(const QImage& image, int x, int y);

// Compares channels within `tolerance`.
::testing::AssertionResult colorNear(Rgba actual, Rgba expected, int tolerance = 3);

#define EXPECT_PIXEL(image, x, y, expected) \
    EXPECT_TRUE(::flash::test::colorNear(::flash::test::pixelAt(image, x, y), expected)) << "at (" << (x) << ", " << (y) << ")"
#define EXPECT_PIXEL_NEAR(image, x, y, expected, tolerance) \
    EXPECT_TRUE(::flash::test::colorNear(::flash::test::pixelAt(image, x, y), expected, tolerance)) << "at (" << (x) << ", " << (y) << ")"

inline constexpr Rgba kWhite{255, 255, 255, 255};
inline constexpr Rgba kBlack{0, 0, 0, 255};
inline constexpr Rgba kRed{255, 0, 0, 255};
inline constexpr Rgba kGreen{0, 255, 0, 255};
inline constexpr Rgba kBlue{0, 0, 255, 255};

} // namespace flash::test
