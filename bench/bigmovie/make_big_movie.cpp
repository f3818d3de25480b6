// make_big_movie OUT.swf: writes a ~10 MB movie that looks like a large real
// one: many photo-like JPEG and lossless bitmaps, a few hundred gradient
// shapes, text in an embedded font and sprites, over 360 frames in which
// every bitmap is shown, moved and removed again.
#include "SwfWriter.h"

#include <QColor>
#include <QImage>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>

using namespace swfw;

namespace {

constexpr double kWidth = 468, kHeight = 336;
constexpr int kFrames = 360;
constexpr int kJpegCount = 34, kLosslessCount = 16;
constexpr int kShapeCount = 300;
constexpr int kJpegQuality = 91; // with the grain, puts the file near 10 MB
constexpr int kShapesOnStage = 24;
constexpr int kBitmapSlots = 6; // bitmaps on stage at once
constexpr int kFramesPerBitmap = kFrames * kBitmapSlots / (kJpegCount + kLosslessCount);

enum Depth : uint16_t { FirstBitmap = 1, FirstShape = 20, Title = 200, FirstSprite = 210 };

// Photo-like content: a diagonal colour gradient, a few soft blobs and fine grain.
// The grain keeps the compressed size close to that of a real photograph.
QImage photo(int w, int h, uint32_t seed, bool withAlpha)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    std::normal_distribution<double> grain(0, 14);
    const QColor from = QColor::fromHsvF(unit(rng), 0.6, 0.9), to = QColor::fromHsvF(unit(rng), 0.7, 0.5);
    struct Blob { double x, y, r, strength; };
    std::vector<Blob> blobs;
    for (int i = 0; i < 6; ++i)
        blobs.push_back({unit(rng) * w, unit(rng) * h, (0.1 + unit(rng) * 0.3) * w, unit(rng) * 120 - 60});

    QImage img(w, h, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double t = (double(x) / w + double(y) / h) / 2;
            double light = 0;
            for (const Blob& b : blobs) {
                const double dx = x - b.x, dy = y - b.y;
                light += b.strength * std::exp(-(dx * dx + dy * dy) / (b.r * b.r));
            }
            const auto channel = [&](double a, double b) {
                return std::clamp(int(a + (b - a) * t + light + grain(rng)), 0, 255);
            };
            const double edge = std::min({x, y, w - 1 - x, h - 1 - y}) / 24.0;
            const int alpha = withAlpha ? std::clamp(int(edge * 255), 0, 255) : 255;
            row[x] = qRgba(channel(from.red(), to.red()), channel(from.green(), to.green()),
                           channel(from.blue(), to.blue()), alpha);
        }
    }
    return img;
}

// A rectangle filled with the whole bitmap.
uint16_t bitmapShape(SwfWriter& w, uint16_t bitmapId, int width, int height)
{
    return w.defineShape(ShapeBuilder()
                             .fill(FillStyle::bitmap(bitmapId, FillType::ClippedBitmap, 0, 0))
                             .lineSolid(1, Color::rgb(0x202020))
                             .rect(0, 0, width, height));
}

Gradient randomGradient(std::mt19937& rng)
{
    std::uniform_int_distribution<uint32_t> colour(0, 0xffffff);
    std::uniform_int_distribution<int> alpha(140, 255);
    Gradient g;
    const int stops = 2 + int(rng() % 4);
    for (int i = 0; i < stops; ++i)
        g.stops.push_back({uint8_t(255 * i / (stops - 1)), Color::rgb(colour(rng), uint8_t(alpha(rng)))});
    return g;
}

// A star, ring, rounded blob or box with a linear or radial gradient and an outline.
uint16_t vectorShape(SwfWriter& w, std::mt19937& rng, int index)
{
    std::uniform_real_distribution<double> size(12, 60);
    const double r = size(rng);
    ShapeBuilder s;
    if (index % 2 == 0)
        s.fill(FillStyle::radial(randomGradient(rng), 0, 0, r));
    else
        s.fill(FillStyle::linear(randomGradient(rng), -r, -r, r, r));
    s.lineSolid(1 + index % 3, Color::rgb(uint32_t(rng() & 0xffffff)));
    switch (index % 4) {
    case 0: {
        std::vector<Point> star;
        const int points = 5 + index % 4;
        for (int i = 0; i < points * 2; ++i) {
            const double angle = std::numbers::pi * i / points, radius = i % 2 ? r * 0.45 : r;
            star.push_back({radius * std::sin(angle), -radius * std::cos(angle)});
        }
        s.polygon(star);
        break;
    }
    case 1:
        s.circle(0, 0, r).circle(0, 0, r * 0.5); // even-odd leaves a hole
        break;
    case 2:
        s.moveTo(-r, 0).curveTo(-r, -r, 0, -r).curveTo(r, -r, r, 0).curveTo(r, r * 1.3, 0, r).curveTo(-r * 1.2, r, -r, 0);
        break;
    default:
        s.rect(-r, -r * 0.6, 2 * r, 1.2 * r);
        break;
    }
    return w.defineShape(s);
}

// Capitals and digits as 3 x 5 blocks of squares, enough for the captions.
FontBuilder blockFont()
{
    static const std::pair<char16_t, const char*> kGlyphs[] = {
        {u'A', "010101111101101"}, {u'B', "110101110101110"}, {u'C', "111100100100111"},
        {u'E', "111100110100111"},
        {u'F', "111100110100100"}, {u'G', "011100101101011"}, {u'H', "101101111101101"},
        {u'I', "111010010010111"},
        {u'M', "101111111101101"}, {u'N', "110101101101101"},
        {u'O', "111101101101111"}, {u'R', "110101110101101"},
        {u'S', "011100010001110"}, {u'T', "111010010010010"}, {u'V', "101101101101010"},
        {u'0', "111101101101111"}, {u'1', "010110010010111"}, {u'2', "110001010100111"},
        {u'3', "110001010001110"}, {u'4', "101101111001001"}, {u'5', "111100110001110"},
        {u'6', "011100111101111"}, {u'7', "111001010010010"}, {u'8', "111101111101111"},
        {u'9', "111101111001110"}, {u' ', "000000000000000"},
    };
    constexpr double cell = 140;
    FontBuilder font("BenchBlocks");
    for (const auto& [code, bits] : kGlyphs) {
        ShapeBuilder outline;
        outline.fillSolid(Color::rgb(0));
        for (int i = 0; i < 15; ++i)
            if (bits[i] == '1')
                outline.rect((i % 3) * cell, -700 + (i / 3) * cell, cell, cell);
        font.glyph(code, std::move(outline), 4 * cell + 60);
    }
    return font;
}

std::u16string frameCaption(int frame)
{
    std::u16string text = u"FRAME ";
    for (char c : std::to_string(frame))
        text += char16_t(c);
    return text;
}

// A sprite: a spinning gradient shape orbiting a smaller one, 24 frames long.
uint16_t orbitSprite(SwfWriter& w, uint16_t outer, uint16_t inner)
{
    Timeline t;
    t.place(1, inner);
    t.place(2, outer, Matrix::translation(40, 0));
    for (int f = 0; f < 24; ++f) {
        const double angle = 15.0 * f;
        const double rad = angle * std::numbers::pi / 180;
        t.move(2, Matrix::rotation(angle).then(Matrix::translation(40 * std::cos(rad), 40 * std::sin(rad))));
        t.showFrame();
    }
    return w.defineSprite(t);
}

struct Sized { uint16_t id; int w, h; };

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_big_movie OUT.swf\n");
        return 2;
    }
    std::mt19937 rng(1234);
    SwfWriter w(10, kWidth, kHeight, 24);
    w.background(Color::rgb(0x303840));

    // Bitmaps, interleaved JPEG and lossless, sizes from thumbnails to larger than the stage.
    std::vector<Sized> pictures;
    for (int i = 0; i < kJpegCount + kLosslessCount; ++i) {
        const bool lossless = i % 3 == 2 && i / 3 < kLosslessCount;
        const int width = lossless ? 240 + (i * 37) % 200 : 480 + (i * 53) % 560;
        const int height = lossless ? 180 + (i * 29) % 140 : 320 + (i * 41) % 400;
        uint16_t bitmap = 0;
        if (lossless)
            bitmap = i % 2 ? w.defineBitsLossless2(photo(width, height, 100 + i, true))
                           : w.defineBitsLossless(photo(width, height, 100 + i, false));
        else if (i % 5 == 0)
            bitmap = w.defineBitsJpegWithTables(photo(width, height, 100 + i, false), kJpegQuality);
        else if (i % 7 == 1)
            bitmap = w.defineBitsJpeg3(photo(width, height, 100 + i, true), kJpegQuality);
        else
            bitmap = w.defineBitsJpeg2(photo(width, height, 100 + i, false), kJpegQuality);
        pictures.push_back({bitmapShape(w, bitmap, width, height), width, height});
    }

    std::vector<uint16_t> shapes;
    for (int i = 0; i < kShapeCount; ++i)
        shapes.push_back(vectorShape(w, rng, i));

    const uint16_t font = w.defineFont(blockFont(), FontVersion::V2);
    const auto caption = [&](int frame) {
        return w.defineText({TextRun{.fontId = font, .heightPx = 18, .color = Color::rgb(0xf0f0e0),
                                     .x = 12, .y = 28, .text = frameCaption(frame)}});
    };
    const uint16_t title = w.defineText({TextRun{.fontId = font, .heightPx = 30, .color = Color::rgb(0xffd040),
                                                 .x = 12, .y = kHeight - 16, .text = u"BIG MOVIE BENCH 2026"}}, 2);

    std::vector<uint16_t> sprites;
    for (int i = 0; i < 4; ++i)
        sprites.push_back(orbitSprite(w, shapes[size_t(i * 7)], shapes[size_t(i * 7 + 3)]));

    // Every bitmap gets one turn in a slot, drifting across the stage, then leaves.
    std::uniform_real_distribution<double> unit(0, 1);
    w.place(Title + 1, title);
    for (size_t i = 0; i < sprites.size(); ++i)
        w.place(uint16_t(FirstSprite + i), sprites[i], Matrix::translation(80 + 100 * double(i), 200));
    for (int frame = 0; frame < kFrames; ++frame) {
        for (int slot = 0; slot < kBitmapSlots; ++slot) {
            const int phase = frame + slot * kFramesPerBitmap / kBitmapSlots;
            const int turn = phase / kFramesPerBitmap, age = phase % kFramesPerBitmap;
            const size_t picture = size_t(turn * kBitmapSlots + slot) % pictures.size();
            const Sized& p = pictures[picture];
            const double scale = 0.35 + 0.05 * slot;
            const Matrix at = Matrix::scaling(scale).then(
                Matrix::translation(-p.w * scale + (kWidth + p.w * scale) * age / kFramesPerBitmap,
                                    slot * 50.0 - 20));
            const auto depth = uint16_t(FirstBitmap + slot);
            if (age == 0 || frame == 0)
                w.place(Placement{.depth = depth, .characterId = p.id, .matrix = at, .move = frame != 0});
            else
                w.move(depth, at);
        }
        for (int s = 0; s < kShapesOnStage; ++s) {
            const auto depth = uint16_t(FirstShape + s);
            const size_t shape = size_t(frame / 12 * kShapesOnStage + s) % shapes.size();
            const double angle = frame * (2 + s % 5) + s * 30;
            const Matrix at = Matrix::rotation(angle).then(Matrix::translation(
                20 + (s % 8) * 60 + 10 * std::sin(frame * 0.1 + s), 40 + (s / 8) * 100 + 10 * std::cos(frame * 0.07 + s)));
            if (frame % 12 == 0) {
                if (frame != 0 && s % 3 == 0)
                    w.remove(depth); // some disappear outright before the next one comes
                const bool replaced = frame != 0 && s % 3 != 0;
                w.place(Placement{.depth = depth, .characterId = shapes[shape], .matrix = at,
                                  .colorTransform = s % 4 == 0 ? std::optional(ColorTransform::alpha(0.7)) : std::nullopt,
                                  .move = replaced});
            } else {
                w.move(depth, at);
            }
        }
        if (frame != 0)
            w.remove(Title);
        w.place(Title, caption(frame));
        w.showFrame();
    }

    const std::vector<uint8_t> bytes = w.finish(Compression::Zlib);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "make_big_movie: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %zu bytes, %d bitmaps, %d shapes, %d frames\n", argv[1], bytes.size(),
                kJpegCount + kLosslessCount, kShapeCount, kFrames);
    return 0;
}
