// BitmapData methods that bring in pixels from another bitmap (or from a clip,
// for draw): each reads a source area and writes it, changed, at a point.
#include "flash/scripting/bitmap/BitmapCalls.h"

#include "flash/script/Conversions.h"
#include "flash/script/Interpreter.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/FilterClasses.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/bitmap/SurfaceCopy.h"
#include "flash/scripting/bitmap/SurfaceImaging.h"
#include "flash/scripting/bitmap/SurfaceQueries.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

// The arguments these methods start with: (sourceBitmap, sourceRect, destPoint).
struct Transfer {
    PixelRect rect;
    PixelPoint point;
};

Transfer transferArgs(CallContext& c)
{
    return {rectangleOf(c.vm, c.arg(1)), pointOf(c.vm, c.arg(2))};
}

// Both ends, looked up once the arguments are read; either is null when it is not a live bitmap.
struct Ends {
    std::shared_ptr<BitmapSurface> target, source;
    [[nodiscard]] bool ready() const { return target && source; }
};

Ends endsOf(CallContext& c)
{
    return {surfaceOf(c.thisValue), surfaceOf(c.arg(0))};
}

// copyPixels(sourceBitmap, sourceRect, destPoint[, alphaBitmap, alphaPoint, mergeAlpha])
Value copyPixelsCall(CallContext& c)
{
    const Transfer t = transferArgs(c);
    const PixelPoint alphaPoint = pointOf(c.vm, c.arg(4));
    const bool mergeAlpha = flagArg(c, 5, false);
    const Ends ends = endsOf(c);
    const auto alpha = surfaceOf(c.arg(3));
    if (ends.ready())
        copyPixels(*ends.target, *ends.source, t.rect, t.point,
                   alpha ? std::optional(AlphaMask{alpha.get(), alphaPoint}) : std::nullopt, mergeAlpha);
    return {};
}

// copyChannel(sourceBitmap, sourceRect, destPoint, sourceChannel, destChannel)
Value copyChannelCall(CallContext& c)
{
    const Transfer t = transferArgs(c);
    const uint32_t from = uint32Arg(c, 3), to = uint32Arg(c, 4);
    if (const Ends ends = endsOf(c); ends.ready())
        copyChannel(*ends.target, *ends.source, t.rect, t.point, from, to);
    return {};
}

std::optional<Comparison> comparisonOf(std::string_view operation)
{
    static constexpr std::pair<std::string_view, Comparison> kOperations[] = {
        {"<", Comparison::Less},     {"<=", Comparison::LessOrEqual}, {">", Comparison::Greater},
        {">=", Comparison::GreaterOrEqual}, {"==", Comparison::Equal}, {"!=", Comparison::NotEqual},
    };
    for (const auto& [name, comparison] : kOperations) {
        if (name == operation)
            return comparison;
    }
    return std::nullopt;
}

// threshold(sourceBitmap, sourceRect, destPoint, operation, threshold[, color, mask, copySource]):
// how many pixels passed; 0 for an operation it does not know.
Value thresholdCall(CallContext& c)
{
    const Transfer t = transferArgs(c);
    const auto comparison = comparisonOf(c.vm.toString(c.arg(3)).view());
    const uint32_t against = uint32Arg(c, 4), color = uint32Arg(c, 5), mask = uint32Arg(c, 6, 0xFFFFFFFF);
    const bool copySource = flagArg(c, 7, false);
    const Ends ends = endsOf(c);
    if (!ends.target)
        return {};
    if (!ends.source || !comparison)
        return Value(0);
    const ThresholdTest test{*comparison, against, mask};
    return Value(threshold(*ends.target, *ends.source, t.rect, t.point, test, color, copySource));
}

// merge(sourceBitmap, sourceRect, destPoint, redMultiplier, greenMultiplier, blueMultiplier, alphaMultiplier)
Value mergeCall(CallContext& c)
{
    const Transfer t = transferArgs(c);
    std::array<uint32_t, 4> multipliers{};
    for (size_t i = 0; i < multipliers.size(); ++i)
        multipliers[i] = uint32_t(std::clamp(coordinateArg(c, 3 + i), 0, 256));
    if (const Ends ends = endsOf(c); ends.ready())
        merge(*ends.target, *ends.source, t.rect, t.point, multipliers);
    return {};
}

// paletteMap(sourceBitmap, sourceRect, destPoint[, redArray, greenArray, blueArray, alphaArray]):
// a channel without an array keeps its values.
Value paletteMapCall(CallContext& c)
{
    const Transfer t = transferArgs(c);
    Palette palette = identityPalette();
    for (size_t k = 0; k < palette.size(); ++k) {
        const Value array = c.arg(3 + k);
        if (!array.isObject())
            continue;
        for (size_t i = 0; i < palette[k].size(); ++i)
            palette[k][i] = script::toUint32(c.vm.toNumber(c.vm.getMember(array, script::String(std::to_string(i)))));
    }
    if (const Ends ends = endsOf(c); ends.ready())
        paletteMap(*ends.target, *ends.source, t.rect, t.point, palette);
    return {};
}

// pixelDissolve(sourceBitmap, sourceRect, destPoint[, randomSeed, numPixels, fillColor]): the seed to go on with.
Value pixelDissolveCall(CallContext& c)
{
    const Transfer t = transferArgs(c);
    const int32_t seed = script::toInt32(script::numberArg(c, 3, 0));
    const int64_t area = t.rect.isEmpty() ? 0 : int64_t(t.rect.width) * t.rect.height;
    const double wanted = script::numberArg(c, 4, double(area / 30));
    const int64_t count = std::isfinite(wanted) ? int64_t(std::clamp<double>(wanted, 0, double(area))) : 0;
    const uint32_t fill = uint32Arg(c, 5);
    const Ends ends = endsOf(c);
    if (!ends.target)
        return {};
    if (!ends.source)
        return Value(double(seed));
    return Value(double(pixelDissolve(*ends.target, *ends.source, t.rect, t.point, seed, count, fill)));
}

// draw(source[, matrix, colorTransform, blendMode, clipRect, smoothing]): a BitmapData's pixels
// directly, a clip (or any display object) through whoever draws the stage.
Value draw(CallContext& c)
{
    const Matrix matrix = matrixOf(c.vm, c.arg(1));
    const ColorTransform transform = colorTransformOf(c.vm, c.arg(2));
    const BlendMode blend = blendModeOrNormal(c.vm, c.arg(3));
    std::optional<PixelRect> clip;
    if (c.arg(4).isObject())
        clip = rectangleOf(c.vm, c.arg(4));
    const bool smoothing = flagArg(c, 5, false);
    const auto self = surfaceOf(c.thisValue);
    if (!self || (clip && clip->isEmpty()))
        return {};
    if (storeOf(c.arg(0))) {
        if (const auto source = surfaceOf(c.arg(0)))
            drawSurface(*self, *source, matrix, transform, blend, clip, smoothing);
        return {};
    }
    StageHost& host = hostOf(c);
    const DisplayObject* source = host.displayObjectOf(c.arg(0));
    if (!source || !host.surfaceDrawer())
        return {};
    // The drawer's matrix starts from the source's twips.
    Matrix fromTwips = matrix;
    fromTwips.a /= kTwipsPerPixel;
    fromTwips.b /= kTwipsPerPixel;
    fromTwips.c /= kTwipsPerPixel;
    fromTwips.d /= kTwipsPerPixel;
    const std::optional<Rect> clipRect =
        clip ? std::optional(Rect{clip->x, clip->right(), clip->y, clip->bottom()}) : std::nullopt;
    host.surfaceDrawer()(*self, *source, fromTwips, transform, blend, clipRect, smoothing);
    self->changed();
    return {};
}

// applyFilter(sourceBitmap, sourceRect, destPoint, filter): 0 once applied, -1 without a bitmap or filter to apply.
Value applyFilterCall(CallContext& c)
{
    const Transfer t = transferArgs(c);
    const auto filter = filterOf(c.vm, c.arg(3));
    const Ends ends = endsOf(c);
    if (!ends.target)
        return {};
    if (!ends.source || !filter)
        return Value(-1);
    applyFilter(*ends.target, *ends.source, t.rect, t.point, *filter);
    return Value(0);
}

// generateFilterRect(sourceRect, filter): the area applyFilter would change.
Value generateFilterRect(CallContext& c)
{
    const PixelRect rect = rectangleOf(c.vm, c.arg(0));
    const auto filter = filterOf(c.vm, c.arg(1));
    if (!surfaceOf(c.thisValue) || !filter)
        return {};
    return rectangleValue(c.vm, filterRect(rect, *filter));
}

// compare(otherBitmapData): 0 when the pixels are the same, else a new bitmap of
// their differences; -1 for something that is not a bitmap, -2 for a disposed
// one, -3 and -4 when widths or heights differ.
Value compare(CallContext& c)
{
    const auto self = surfaceOf(c.thisValue);
    if (!self)
        return {};
    if (!storeOf(c.arg(0)))
        return Value(-1);
    const auto other = surfaceOf(c.arg(0));
    if (!other)
        return Value(-2);
    if (other->width != self->width)
        return Value(-3);
    if (other->height != self->height)
        return Value(-4);
    auto differences = difference(*self, *other);
    return differences ? newBitmapData(c, std::move(differences)) : Value(0);
}

constexpr BitmapMethod kTransferMethods[] = {
    {"copyPixels", copyPixelsCall},
    {"copyChannel", copyChannelCall},
    {"threshold", thresholdCall},
    {"merge", mergeCall},
    {"paletteMap", paletteMapCall},
    {"pixelDissolve", pixelDissolveCall},
    {"draw", draw},
    {"applyFilter", applyFilterCall},
    {"generateFilterRect", generateFilterRect},
    {"compare", compare},
};

} // namespace

std::span<const BitmapMethod> transferMethods()
{
    return kTransferMethods;
}

} // namespace flash
