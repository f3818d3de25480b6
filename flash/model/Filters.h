// Bitmap filters of placed objects, typed: what a movie's filter records and
// script filter objects (flash.filters.*) both describe.
//
// Units are those scripts use: sizes and distances in the object's pixels,
// angles in degrees (clockwise, since y points down), strengths as plain
// factors. Colours are Rgba with alpha 0..255; a script's alpha 0..1 is
// scaled by 255. Values are kept as given: the pixel engine clamps them.
#pragma once

#include "flash/model/Geometry.h"
#include "flash/model/ShapeDef.h" // GradientStop: a colour at a ratio, as gradient fills have them

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

namespace flash {

// How bevels and gradient glows sit against the object.
enum class BevelType : uint8_t { Inner, Outer, Full };

struct DropShadowFilter {
    Rgba color{0, 0, 0, 255};
    double blurX = 4, blurY = 4;
    double angle = 45;
    double distance = 4;
    double strength = 1;
    bool inner = false;
    bool knockout = false;
    bool compositeSource = true; // false: the object is hidden, only its shadow shows
    int quality = 1;             // blur passes
};

struct BlurFilter {
    double blurX = 4, blurY = 4;
    int quality = 1;
};

struct GlowFilter {
    Rgba color{255, 0, 0, 255};
    double blurX = 6, blurY = 6;
    double strength = 2;
    bool inner = false;
    bool knockout = false;
    bool compositeSource = true;
    int quality = 1;
};

struct BevelFilter {
    Rgba shadowColor{0, 0, 0, 255};
    Rgba highlightColor{255, 255, 255, 255};
    double blurX = 4, blurY = 4;
    double angle = 45;
    double distance = 4;
    double strength = 1;
    BevelType type = BevelType::Inner;
    bool knockout = false;
    bool compositeSource = true;
    int quality = 1;
};

// The fields gradient glows and gradient bevels share.
struct GradientFilterFields {
    std::vector<GradientStop> stops;
    double blurX = 4, blurY = 4;
    double angle = 45;
    double distance = 4;
    double strength = 1;
    BevelType type = BevelType::Inner;
    bool knockout = false;
    bool compositeSource = true;
    int quality = 1;
};

// Ratio 0 is the colour far from the object, 255 the colour at its edge.
struct GradientGlowFilter : GradientFilterFields { };
// Ratio 0 is the highlight, 128 the flat middle, 255 the shadow.
struct GradientBevelFilter : GradientFilterFields { };

struct ConvolutionFilter {
    int matrixX = 0, matrixY = 0;
    std::vector<double> matrix; // matrixY rows of matrixX values
    double divisor = 1;
    double bias = 0;
    Rgba defaultColor{0, 0, 0, 0}; // stands for pixels beyond the edge unless `clamp`
    bool clamp = true;
    bool preserveAlpha = true;
};

// Four rows of five: each output channel (r, g, b, a) from the unpremultiplied
// input channels and an offset in 0..255 units.
struct ColorMatrixFilter {
    std::array<double, 20> matrix{1, 0, 0, 0, 0, //
                                  0, 1, 0, 0, 0, //
                                  0, 0, 1, 0, 0, //
                                  0, 0, 0, 1, 0};
};

// The alternatives are in the order of the file's filter ids, so index() is the id.
using TypedFilter = std::variant<DropShadowFilter, BlurFilter, GlowFilter, BevelFilter, GradientGlowFilter,
                                 ConvolutionFilter, ColorMatrixFilter, GradientBevelFilter>;

} // namespace flash
