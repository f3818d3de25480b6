// Value types the writer's API speaks in: pixels outside, twips in the file.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace swfw {

inline constexpr double kTwipsPerPixel = 20.0;

[[nodiscard]] inline int32_t toTwips(double pixels) { return static_cast<int32_t>(std::lround(pixels * kTwipsPerPixel)); }

struct Color {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    // 0xRRGGBB, fully opaque.
    [[nodiscard]] static constexpr Color rgb(uint32_t hex, uint8_t alpha = 255)
    {
        return {static_cast<uint8_t>(hex >> 16), static_cast<uint8_t>(hex >> 8), static_cast<uint8_t>(hex), alpha};
    }
    friend bool operator==(const Color&, const Color&) = default;
};

// Rectangle in twips, as bounds are stored.
struct TwipsRect {
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    [[nodiscard]] static TwipsRect fromPixels(double x, double y, double w, double h)
    {
        return {toTwips(x), toTwips(x + w), toTwips(y), toTwips(y + h)};
    }
};

// Affine matrix as movies store it: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
// tx and ty are twips; the factories take pixels.
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1;
    int32_t tx = 0, ty = 0;

    [[nodiscard]] static Matrix translation(double xPx, double yPx) { return {1, 0, 0, 1, toTwips(xPx), toTwips(yPx)}; }
    [[nodiscard]] static Matrix scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    [[nodiscard]] static Matrix scaling(double s) { return scaling(s, s); }
    [[nodiscard]] static Matrix rotation(double degrees);
    // Applies this matrix first, then `next`.
    [[nodiscard]] Matrix then(const Matrix& next) const;
    friend bool operator==(const Matrix&, const Matrix&) = default;
};

// Colour transform: c' = c * mult + add, mult 1.0 = unchanged, add in 0..255 units.
struct ColorTransform {
    double rMult = 1, gMult = 1, bMult = 1, aMult = 1;
    int rAdd = 0, gAdd = 0, bAdd = 0, aAdd = 0;

    [[nodiscard]] static ColorTransform multiply(double r, double g, double b, double a = 1) { return {r, g, b, a, 0, 0, 0, 0}; }
    [[nodiscard]] static ColorTransform add(int r, int g, int b, int a = 0) { return {1, 1, 1, 1, r, g, b, a}; }
    [[nodiscard]] static ColorTransform alpha(double a) { return multiply(1, 1, 1, a); }
};

enum class SpreadMode : uint8_t { Pad = 0, Reflect = 1, Repeat = 2 };
enum class Interpolation : uint8_t { Rgb = 0, LinearRgb = 1 };

struct GradientStop {
    uint8_t ratio = 0;
    Color color;
};

struct Gradient {
    std::vector<GradientStop> stops; // at most 15 (8 before DefineShape4)
    SpreadMode spread = SpreadMode::Pad;
    Interpolation interpolation = Interpolation::Rgb;
};

// Fill style type codes as stored.
enum class FillType : uint8_t {
    Solid = 0x00,
    LinearGradient = 0x10,
    RadialGradient = 0x12,
    FocalGradient = 0x13,
    RepeatingBitmap = 0x40,
    ClippedBitmap = 0x41,
    RepeatingBitmapHard = 0x42, // not smoothed
    ClippedBitmapHard = 0x43,
};

struct FillStyle {
    FillType type = FillType::Solid;
    Color color;
    Gradient gradient;
    double focalPoint = 0; // -1..1
    Matrix matrix;         // gradient square (+-16384 units) or bitmap pixels to shape twips
    uint16_t bitmapId = 0;

    [[nodiscard]] static FillStyle solid(Color c) { return {FillType::Solid, c, {}, 0, {}, 0}; }
    // A gradient running from `from` to `to` (pixels in shape space).
    [[nodiscard]] static FillStyle linear(Gradient g, double x0, double y0, double x1, double y1);
    // A radial gradient centred at (cx, cy) reaching `radius` pixels.
    [[nodiscard]] static FillStyle radial(Gradient g, double cx, double cy, double radius);
    [[nodiscard]] static FillStyle focal(Gradient g, double cx, double cy, double radius, double focalPoint);
    // A bitmap whose top-left pixel sits at (x, y) pixels, `scale` shape pixels per bitmap pixel.
    [[nodiscard]] static FillStyle bitmap(uint16_t bitmapId, FillType type, double x, double y, double scale = 1);
};

enum class Cap : uint8_t { Round = 0, None = 1, Square = 2 };
enum class Join : uint8_t { Round = 0, Bevel = 1, Miter = 2 };

// A line style; the fields past `color` need DefineShape4.
struct LineStyle {
    double widthPx = 1;
    Color color;
    Cap startCap = Cap::Round;
    Cap endCap = Cap::Round;
    Join join = Join::Round;
    double miterLimit = 3;
    bool noHScale = false;
    bool noVScale = false;
    bool pixelHinting = false;
    bool noClose = false;
    std::optional<FillStyle> fill;
};

enum class BlendMode : uint8_t {
    Normal = 1, Layer = 2, Multiply = 3, Screen = 4, Lighten = 5, Darken = 6, Difference = 7,
    Add = 8, Subtract = 9, Invert = 10, Alpha = 11, Erase = 12, Overlay = 13, HardLight = 14,
};

} // namespace swfw
