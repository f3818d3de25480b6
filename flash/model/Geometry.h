// Basic value types of a movie: colours, rectangles, matrices, colour transforms.
#pragma once

#include <cstdint>
#include <optional>

namespace flash {

// Movie coordinates are twips (1/20 pixel) throughout the engine.
inline constexpr double kTwipsPerPixel = 20.0;

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct Point {
    double x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Axis-aligned rectangle in twips, as movies store bounds.
struct Rect {
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    [[nodiscard]] int32_t width() const { return xMax - xMin; }
    [[nodiscard]] int32_t height() const { return yMax - yMin; }
    [[nodiscard]] bool isEmpty() const { return xMax <= xMin || yMax <= yMin; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// 2x3 affine matrix: x' = a*x + c*y + tx, y' = b*x + d*y + ty (tx, ty in twips).
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    [[nodiscard]] Point map(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // this * other: apply `other` first, then this.
    [[nodiscard]] Matrix multiplied(const Matrix& other) const
    {
        return {a * other.a + c * other.b, b * other.a + d * other.b,
                a * other.c + c * other.d, b * other.c + d * other.d,
                a * other.tx + c * other.ty + tx, b * other.tx + d * other.ty + ty};
    }
    // Movies place objects with zero scale; such a matrix has no inverse.
    [[nodiscard]] std::optional<Matrix> inverted() const
    {
        const double det = a * d - b * c;
        if (det == 0.0 || det != det)
            return std::nullopt;
        const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
        return Matrix{ia, ib, ic, id, -(ia * tx + ic * ty), -(ib * tx + id * ty)};
    }
    [[nodiscard]] Matrix interpolated(const Matrix& to, double t) const
    {
        auto lerp = [t](double x, double y) { return x + (y - x) * t; };
        return {lerp(a, to.a), lerp(b, to.b), lerp(c, to.c), lerp(d, to.d), lerp(tx, to.tx), lerp(ty, to.ty)};
    }
    friend bool operator==(const Matrix&, const Matrix&) = default;
};

// Colour transform: each channel c' = clamp(c * mult + add), mult 1.0 = unchanged, add in 0..255 units.
struct ColorTransform {
    double rMult = 1, gMult = 1, bMult = 1, aMult = 1;
    double rAdd = 0, gAdd = 0, bAdd = 0, aAdd = 0;

    [[nodiscard]] bool isIdentity() const { return *this == ColorTransform{}; }
    [[nodiscard]] Rgba apply(Rgba c) const
    {
        auto ch = [](double v, double m, double add) {
            const double out = v * m + add;
            return static_cast<uint8_t>(out < 0 ? 0 : out > 255 ? 255 : out);
        };
        return {ch(c.r, rMult, rAdd), ch(c.g, gMult, gAdd), ch(c.b, bMult, bAdd), ch(c.a, aMult, aAdd)};
    }
    // this * inner: apply `inner` first (the child's own), then this (the parent's).
    [[nodiscard]] ColorTransform multiplied(const ColorTransform& inner) const
    {
        return {rMult * inner.rMult, gMult * inner.gMult, bMult * inner.bMult, aMult * inner.aMult,
                rMult * inner.rAdd + rAdd, gMult * inner.gAdd + gAdd, bMult * inner.bAdd + bAdd, aMult * inner.aAdd + aAdd};
    }
    friend bool operator==(const ColorTransform&, const ColorTransform&) = default;
};

} // namespace flash
