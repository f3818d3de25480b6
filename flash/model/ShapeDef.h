// Vector shape definitions: fill and line styles and the edge paths that use them.
#pragma once

#include "flash/model/BitmapSurface.h"
#include "flash/model/Geometry.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace flash {

enum class SpreadMode : uint8_t { Pad, Reflect, Repeat };
enum class InterpolationMode : uint8_t { Rgb, LinearRgb };

struct GradientStop {
    uint8_t ratio = 0; // 0..255 along the gradient square
    Rgba color;
    friend bool operator==(const GradientStop&, const GradientStop&) = default;
};

struct Gradient {
    SpreadMode spread = SpreadMode::Pad;
    InterpolationMode interpolation = InterpolationMode::Rgb;
    std::vector<GradientStop> stops;
    double focalPoint = 0; // -1..1, focal radial gradients only
    friend bool operator==(const Gradient&, const Gradient&) = default;
};

enum class FillKind : uint8_t {
    Solid,
    LinearGradient,
    RadialGradient,
    FocalRadialGradient,
    RepeatingBitmap,
    ClippedBitmap,
    NonSmoothedRepeatingBitmap,
    NonSmoothedClippedBitmap,
};

[[nodiscard]] inline bool isGradient(FillKind k)
{
    return k == FillKind::LinearGradient || k == FillKind::RadialGradient || k == FillKind::FocalRadialGradient;
}
[[nodiscard]] inline bool isBitmap(FillKind k) { return k >= FillKind::RepeatingBitmap; }

struct FillStyle {
    FillKind kind = FillKind::Solid;
    Rgba color;            // Solid
    Gradient gradient;     // gradients
    Matrix matrix;         // gradient square (-16384..16384 twips) or bitmap pixels (1 pixel = 20 twips) to shape space
    uint16_t bitmapId = 0; // bitmaps; 65535 means "no bitmap" in many files
    std::shared_ptr<const BitmapSurface> surface; // a script's BitmapData (beginBitmapFill), used instead of bitmapId
    friend bool operator==(const FillStyle&, const FillStyle&) = default;
};

enum class CapStyle : uint8_t { Round, None, Square };
enum class JoinStyle : uint8_t { Round, Bevel, Miter };

struct LineStyle {
    uint16_t width = 0; // twips
    Rgba color;
    CapStyle startCap = CapStyle::Round;
    CapStyle endCap = CapStyle::Round;
    JoinStyle join = JoinStyle::Round;
    double miterLimit = 3;
    bool noHScale = false;
    bool noVScale = false;
    bool pixelHinting = false;
    bool noClose = false;
    bool hasFill = false;  // the stroke is painted with `fill` instead of `color`
    FillStyle fill;
    friend bool operator==(const LineStyle&, const LineStyle&) = default;
};

// One drawing command of a path, coordinates in twips of the shape's own space.
struct PathCommand {
    enum class Kind : uint8_t { MoveTo, LineTo, CurveTo };
    Kind kind = Kind::MoveTo;
    Point to;
    Point control; // CurveTo only (quadratic)
    friend bool operator==(const PathCommand&, const PathCommand&) = default;
};

// A run of edges drawn with the same styles. Style indices are 1-based into the
// shape's `fills` / `lines`, 0 meaning none. fill0 fills the left of the edge
// direction, fill1 the right (in y-down coordinates), as movies store them.
// Each path starts with a MoveTo.
struct ShapePath {
    uint32_t fill0 = 0;
    uint32_t fill1 = 0;
    uint32_t line = 0;
    std::vector<PathCommand> commands;
    // Set on the first path after a new style array: everything drawn with the
    // earlier styles (fills, then lines) is finished and later styles draw on top.
    bool newStyles = false;
    friend bool operator==(const ShapePath&, const ShapePath&) = default;
};

// A shape after parsing. Styles introduced part-way through a shape (new style
// arrays) are appended to `fills`/`lines`, and later paths index the global arrays.
struct ShapeDef {
    uint16_t id = 0;
    uint8_t version = 1; // DefineShape 1..4
    Rect bounds;
    Rect edgeBounds;     // DefineShape4; equal to bounds otherwise
    bool nonZeroWinding = false; // DefineShape4 fill rule flag; even-odd otherwise
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    std::vector<ShapePath> paths;
};

} // namespace flash
