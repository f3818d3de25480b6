// Helpers for the end-to-end tests: movies written with the SWF writer, loaded
// by the real loader, played by the Player and rendered, then checked by pixel.
#pragma once

#include "SwfWriter.h"
#include "flash/player/Player.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace e2e {

using namespace swfw;

// Every test stage is 100 x 100 pixels on white, rendered at its own size.
inline constexpr int kStage = 100;

// Creates the Qt application object once: image format plugins (JPEG) load through it.
void ensureApplication();

[[nodiscard]] SwfWriter newMovie(uint8_t version = 10, double frameRate = 12);

// A square filled with one colour.
[[nodiscard]] inline ShapeBuilder square(double x, double y, double size, Color c)
{
    return ShapeBuilder().fillSolid(c).rect(x, y, size, size);
}

// A movie loaded into a Player, drawn on demand.
class PlayedMovie {
public:
    explicit PlayedMovie(const std::vector<uint8_t>& bytes);

    [[nodiscard]] flash::Player& player() { return *m_player; }
    [[nodiscard]] bool loaded() const { return m_player->hasMovie(); }
    // The current frame at stage size (or `size`).
    [[nodiscard]] QImage image(QSize size = {});
    // Plays forward `frames` frames, as the frame clock would.
    PlayedMovie& advance(int frames = 1);

private:
    std::unique_ptr<flash::Player> m_player;
};

// The one-frame movie `w` holds so far, finished, loaded and drawn.
[[nodiscard]] QImage renderFirstFrame(SwfWriter& w, QSize size = {});

// Pixel (x, y) within `tolerance` of `expected` in each of r, g, b (and alpha when given).
[[nodiscard]] ::testing::AssertionResult colorNear(const QImage& image, int x, int y, QColor expected,
                                                   int tolerance = 8);
[[nodiscard]] QColor pixel(const QImage& image, int x, int y);

inline const QColor kWhite{255, 255, 255};
inline const QColor kRed{255, 0, 0};
inline const QColor kGreen{0, 255, 0};
inline const QColor kBlue{0, 0, 255};
inline const QColor kBlack{0, 0, 0};

} // namespace e2e
