// BitmapData methods on the bitmap's own pixels: single pixels, fills,
// scrolling, recolouring, noise, and the questions asked of its pixels.
#include "flash/scripting/bitmap/BitmapCalls.h"

#include "flash/script/Conversions.h"
#include "flash/script/Interpreter.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/bitmap/SurfaceNoise.h"
#include "flash/scripting/bitmap/SurfacePixels.h"
#include "flash/scripting/bitmap/SurfaceQueries.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

// An alpha threshold as a number to compare with; NaN converts to 0, as integers do.
double thresholdArg(CallContext& c, size_t i, double fallback)
{
    const double v = script::numberArg(c, i, fallback);
    return std::isnan(v) ? 0 : v;
}

Value getPixel(CallContext& c)
{
    const int x = coordinateArg(c, 0), y = coordinateArg(c, 1);
    const auto self = surfaceOf(c.thisValue);
    if (!self)
        return {};
    return Value(pixelAt(*self, x, y).value_or(0) & 0xFFFFFFu);
}

// The colour as a signed 32-bit number, as the runtime's integers come back to scripts.
Value getPixel32(CallContext& c)
{
    const int x = coordinateArg(c, 0), y = coordinateArg(c, 1);
    const auto self = surfaceOf(c.thisValue);
    if (!self)
        return {};
    return Value(double(int32_t(pixelAt(*self, x, y).value_or(0))));
}

Value setPixelCall(CallContext& c)
{
    const int x = coordinateArg(c, 0), y = coordinateArg(c, 1);
    const uint32_t color = uint32Arg(c, 2);
    if (const auto self = surfaceOf(c.thisValue))
        setPixel(*self, x, y, color);
    return {};
}

Value setPixel32Call(CallContext& c)
{
    const int x = coordinateArg(c, 0), y = coordinateArg(c, 1);
    const uint32_t color = uint32Arg(c, 2);
    if (const auto self = surfaceOf(c.thisValue))
        setPixel32(*self, x, y, color);
    return {};
}

Value fillRectCall(CallContext& c)
{
    const PixelRect rect = rectangleOf(c.vm, c.arg(0));
    const uint32_t color = uint32Arg(c, 1);
    if (const auto self = surfaceOf(c.thisValue))
        fillRect(*self, rect, color);
    return {};
}

Value floodFillCall(CallContext& c)
{
    const int x = coordinateArg(c, 0), y = coordinateArg(c, 1);
    const uint32_t color = uint32Arg(c, 2);
    if (const auto self = surfaceOf(c.thisValue))
        floodFill(*self, x, y, color);
    return {};
}

Value scrollCall(CallContext& c)
{
    const int dx = coordinateArg(c, 0), dy = coordinateArg(c, 1);
    if (const auto self = surfaceOf(c.thisValue))
        scroll(*self, dx, dy);
    return {};
}

Value colorTransformCall(CallContext& c)
{
    const PixelRect rect = rectangleOf(c.vm, c.arg(0));
    const ColorTransform transform = colorTransformOf(c.vm, c.arg(1));
    if (const auto self = surfaceOf(c.thisValue))
        colorTransform(*self, rect, transform);
    return {};
}

// noise(randomSeed, low, high, channelOptions, grayScale)
Value noiseCall(CallContext& c)
{
    const int32_t seed = script::toInt32(script::numberArg(c, 0));
    const int low = coordinateArg(c, 1, 0), high = coordinateArg(c, 2, 255);
    const unsigned channels = uint32Arg(c, 3, 7);
    const bool gray = flagArg(c, 4, false);
    if (const auto self = surfaceOf(c.thisValue))
        noise(*self, seed, low, high, channels, gray);
    return {};
}

// The offsets array of perlinNoise: one point per octave; others are ignored.
std::vector<Point> octaveOffsets(script::Interpreter& vm, const Value& array, int octaves)
{
    std::vector<Point> out;
    if (!array.isObject())
        return out;
    const double length = script::numberMember(vm, array, "length");
    const double most = std::clamp(octaves, 0, kMaxPerlinOctaves);
    const int count = std::isfinite(length) ? int(std::clamp(length, 0.0, most)) : 0;
    for (int i = 0; i < count; ++i) {
        const Value point = vm.getMember(array, script::String(std::to_string(i)));
        const double x = script::numberMember(vm, point, "x"), y = script::numberMember(vm, point, "y");
        out.push_back({std::isfinite(x) ? x : 0, std::isfinite(y) ? y : 0});
    }
    return out;
}

// perlinNoise(baseX, baseY, numOctaves, randomSeed, stitch, fractalNoise, channelOptions, grayScale, offsets)
Value perlinNoiseCall(CallContext& c)
{
    PerlinSettings settings;
    settings.baseX = script::numberArg(c, 0);
    settings.baseY = script::numberArg(c, 1);
    settings.octaves = coordinateArg(c, 2);
    settings.seed = script::toInt32(script::numberArg(c, 3));
    settings.stitch = flagArg(c, 4, false);
    settings.fractal = flagArg(c, 5, false);
    settings.channels = uint32Arg(c, 6, 7);
    settings.grayScale = flagArg(c, 7, false);
    const std::vector<Point> offsets = octaveOffsets(c.vm, c.arg(8), settings.octaves);
    settings.offsets = offsets;
    if (const auto self = surfaceOf(c.thisValue))
        perlinNoise(*self, settings);
    return {};
}

// getColorBoundsRect(mask, color, findColor = true)
Value getColorBoundsRect(CallContext& c)
{
    const uint32_t mask = uint32Arg(c, 0), color = uint32Arg(c, 1);
    const bool findColor = flagArg(c, 2, true);
    const auto self = surfaceOf(c.thisValue);
    if (!self)
        return {};
    return rectangleValue(c.vm, colorBounds(*self, mask, color, findColor));
}

// hitTest(firstPoint, firstAlphaThreshold, secondObject[, secondBitmapPoint, secondAlphaThreshold]):
// the second object is a BitmapData, a Rectangle (it has a width) or a Point.
Value hitTest(CallContext& c)
{
    const PixelPoint firstAt = pointOf(c.vm, c.arg(0));
    const double firstThreshold = thresholdArg(c, 1, 0);
    const Value second = c.arg(2);
    const bool againstBitmap = storeOf(second) != nullptr;
    if (!second.isObject())
        return Value(false);
    const bool againstRectangle = !againstBitmap && c.vm.hasProperty(*second.asObject(), "width");
    PixelRect area;
    PixelPoint secondAt;
    double secondThreshold = 1;
    if (againstBitmap) {
        secondAt = pointOf(c.vm, c.arg(3));
        secondThreshold = thresholdArg(c, 4, 1);
    } else if (againstRectangle) {
        area = rectangleOf(c.vm, second);
    } else {
        const PixelPoint p = pointOf(c.vm, second);
        area = {p.x, p.y, 1, 1};
    }
    const auto self = surfaceOf(c.thisValue);
    if (!self)
        return {};
    const HitSurface first{*self, firstAt, firstThreshold};
    if (!againstBitmap)
        return Value(hitsArea(first, area));
    const auto other = surfaceOf(second);
    return Value(other && hitsSurface(first, HitSurface{*other, secondAt, secondThreshold}));
}

constexpr BitmapMethod kPixelMethods[] = {
    {"getPixel", getPixel},
    {"getPixel32", getPixel32},
    {"setPixel", setPixelCall},
    {"setPixel32", setPixel32Call},
    {"fillRect", fillRectCall},
    {"floodFill", floodFillCall},
    {"scroll", scrollCall},
    {"colorTransform", colorTransformCall},
    {"noise", noiseCall},
    {"perlinNoise", perlinNoiseCall},
    {"getColorBoundsRect", getColorBoundsRect},
    {"hitTest", hitTest},
};

} // namespace

std::span<const BitmapMethod> pixelMethods()
{
    return kPixelMethods;
}

} // namespace flash
