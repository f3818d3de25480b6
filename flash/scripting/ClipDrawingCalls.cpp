// Drawing calls in pixels of the clip's space, kept in twips by the clip's Drawing.
#include "flash/scripting/ClipDrawingCalls.h"

#include "flash/scripting/bitmap/BitmapScriptValues.h"

#include "flash/script/ArrayObject.h"
#include "flash/script/Conversions.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/StageHost.h"

#include <algorithm>
#include <cmath>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

constexpr size_t kMaxGradientStops = 15;

// The drawing of the clip the call is made on; null for anything else.
Drawing* drawingOf(CallContext& c)
{
    auto& host = static_cast<StageHost&>(c.vm.host());
    DisplayObject* clip = host.displayObjectOf(c.thisValue);
    return clip && clip->clip ? &host.drawingOf(*clip) : nullptr;
}

double number(CallContext& c, size_t i)
{
    return c.vm.toNumber(c.arg(i));
}

Point pointAt(CallContext& c, size_t i)
{
    return {number(c, i) * kTwipsPerPixel, number(c, i + 1) * kTwipsPerPixel};
}

// An RGB number and an alpha in percent (100 when missing).
Rgba colorOf(CallContext& c, const Value& rgb, const Value& alpha)
{
    const uint32_t bits = script::toUint32(c.vm.toNumber(rgb));
    const double percent = alpha.isUndefined() ? 100 : c.vm.toNumber(alpha);
    const double a = std::isfinite(percent) ? std::clamp(percent, 0.0, 100.0) : 100;
    return {uint8_t(bits >> 16), uint8_t(bits >> 8), uint8_t(bits), uint8_t(std::lround(a * 2.55))};
}

double member(CallContext& c, const Value& object, const char* name)
{
    return c.vm.toNumber(c.vm.getMember(object, name));
}

// The gradient square (32768 twips a side) to the clip's space, from the three
// forms movies pass: {matrixType: "box", x, y, w, h, r}, a flash.geom.Matrix
// {a, b, c, d, tx, ty}, or the older {a, b, d, e, g, h}.
Matrix gradientMatrix(CallContext& c, const Value& given)
{
    if (!given.isObject())
        return {};
    const Value type = c.vm.getMember(given, "matrixType");
    if (type.isString() && c.vm.toString(type).view() == "box") {
        const double w = member(c, given, "w"), h = member(c, given, "h"), r = member(c, given, "r");
        const double x = member(c, given, "x"), y = member(c, given, "y");
        const double sx = w / 1638.4, sy = h / 1638.4, cos = std::cos(r), sin = std::sin(r);
        return {sx * cos, sx * sin, -sy * sin, sy * cos, (x + w / 2) * kTwipsPerPixel, (y + h / 2) * kTwipsPerPixel};
    }
    if (!c.vm.getMember(given, "tx").isUndefined())
        return {member(c, given, "a"), member(c, given, "b"), member(c, given, "c"), member(c, given, "d"),
                member(c, given, "tx") * kTwipsPerPixel, member(c, given, "ty") * kTwipsPerPixel};
    return {member(c, given, "a"), member(c, given, "b"), member(c, given, "d"), member(c, given, "e"),
            member(c, given, "g") * kTwipsPerPixel, member(c, given, "h") * kTwipsPerPixel};
}

Value elementAt(CallContext& c, const Value& array, uint32_t index)
{
    return c.vm.getMember(array, c.vm.makeString(std::to_string(index)));
}

// beginGradientFill(type, colors, alphas, ratios, matrix[, spread, interpolation, focal]) and
// lineGradientStyle take the same arguments.
std::optional<FillStyle> gradientFill(CallContext& c)
{
    const std::string type = c.vm.toString(c.arg(0)).toStd();
    const Value colors = c.arg(1), alphas = c.arg(2), ratios = c.arg(3);
    if ((type != "linear" && type != "radial") || !colors.isObject())
        return std::nullopt;
    FillStyle fill;
    const double focal = c.argc() > 7 ? number(c, 7) : 0;
    fill.kind = type == "linear" ? FillKind::LinearGradient
        : (std::isfinite(focal) && focal != 0) ? FillKind::FocalRadialGradient : FillKind::RadialGradient;
    fill.gradient.focalPoint = std::isfinite(focal) ? std::clamp(focal, -1.0, 1.0) : 0;
    const std::string spread = c.vm.toString(c.arg(5)).toStd();
    fill.gradient.spread = spread == "reflect" ? SpreadMode::Reflect : spread == "repeat" ? SpreadMode::Repeat : SpreadMode::Pad;
    fill.gradient.interpolation =
        c.vm.toString(c.arg(6)).view() == "linearRGB" ? InterpolationMode::LinearRgb : InterpolationMode::Rgb;
    const double count = member(c, colors, "length");
    const uint32_t stops = std::isfinite(count) ? uint32_t(std::clamp(count, 0.0, double(kMaxGradientStops))) : 0;
    for (uint32_t i = 0; i < stops; ++i) {
        const double ratio = c.vm.toNumber(elementAt(c, ratios, i));
        fill.gradient.stops.push_back({uint8_t(std::isfinite(ratio) ? std::clamp(ratio, 0.0, 255.0) : 0),
                                       colorOf(c, elementAt(c, colors, i), elementAt(c, alphas, i))});
    }
    if (fill.gradient.stops.empty())
        return std::nullopt;
    fill.matrix = gradientMatrix(c, c.arg(4));
    return fill;
}

// Arguments are converted before the clip is looked up: conversions may run scripts.
Value moveTo(CallContext& c)
{
    const Point to = pointAt(c, 0);
    if (Drawing* drawing = drawingOf(c))
        drawing->moveTo(to);
    return {};
}

Value lineTo(CallContext& c)
{
    const Point to = pointAt(c, 0);
    if (Drawing* drawing = drawingOf(c))
        drawing->lineTo(to);
    return {};
}

Value curveTo(CallContext& c)
{
    const Point control = pointAt(c, 0), to = pointAt(c, 2);
    if (Drawing* drawing = drawingOf(c))
        drawing->curveTo(control, to);
    return {};
}

Value beginFill(CallContext& c)
{
    std::optional<FillStyle> fill;
    if (!c.arg(0).isUndefined()) {
        fill.emplace();
        fill->color = colorOf(c, c.arg(0), c.arg(1));
    }
    Drawing* drawing = drawingOf(c);
    if (!drawing)
        return {};
    if (fill)
        drawing->beginFill(*fill);
    else
        drawing->endFill(); // no colour: what follows is not filled
    return {};
}

Value beginGradientFill(CallContext& c)
{
    const auto fill = gradientFill(c);
    Drawing* drawing = drawingOf(c);
    if (!drawing)
        return {};
    if (fill)
        drawing->beginFill(*fill);
    else
        drawing->endFill();
    return {};
}

// beginBitmapFill(bitmap[, matrix, repeat, smoothing]): a BitmapData's pixels as they
// are when drawn; the matrix takes its pixels to the clip's (a flash.geom.Matrix).
Value beginBitmapFill(CallContext& c)
{
    Drawing* drawing = drawingOf(c);
    std::shared_ptr<BitmapSurface> surface = surfaceOf(c.arg(0));
    if (!drawing)
        return {};
    if (!surface) {
        drawing->endFill();
        return {};
    }
    const bool repeat = c.arg(2).isUndefined() || c.vm.toBoolean(c.arg(2));
    const bool smoothing = c.vm.toBoolean(c.arg(3));
    FillStyle fill;
    fill.kind = repeat ? (smoothing ? FillKind::RepeatingBitmap : FillKind::NonSmoothedRepeatingBitmap)
                       : (smoothing ? FillKind::ClippedBitmap : FillKind::NonSmoothedClippedBitmap);
    const Value given = c.arg(1);
    Matrix m;
    if (given.isObject() && !c.vm.getMember(given, "tx").isUndefined())
        m = {member(c, given, "a"), member(c, given, "b"), member(c, given, "c"), member(c, given, "d"),
             member(c, given, "tx"), member(c, given, "ty")};
    // Bitmap pixels to the clip's twips.
    fill.matrix = {m.a * kTwipsPerPixel, m.b * kTwipsPerPixel, m.c * kTwipsPerPixel, m.d * kTwipsPerPixel,
                   m.tx * kTwipsPerPixel, m.ty * kTwipsPerPixel};
    fill.surface = std::move(surface);
    drawing->beginFill(fill);
    return {};
}

CapStyle capOf(const std::string& name)
{
    return name == "none" ? CapStyle::None : name == "square" ? CapStyle::Square : CapStyle::Round;
}

JoinStyle joinOf(const std::string& name)
{
    return name == "miter" ? JoinStyle::Miter : name == "bevel" ? JoinStyle::Bevel : JoinStyle::Round;
}

// lineStyle(thickness, rgb, alpha, pixelHinting, noScale, caps, joints, miterLimit); no thickness: no line.
std::optional<LineStyle> lineStyleOf(CallContext& c)
{
    const double thickness = number(c, 0);
    if (c.arg(0).isUndefined() || !std::isfinite(thickness))
        return std::nullopt;
    LineStyle style;
    // Zero is a hairline, drawn one pixel wide whatever the scale.
    style.width = uint16_t(std::clamp(thickness, 0.0, 255.0) * kTwipsPerPixel);
    style.color = colorOf(c, c.arg(1), c.arg(2));
    style.pixelHinting = c.vm.toBoolean(c.arg(3));
    const std::string noScale = c.vm.toString(c.arg(4)).toStd();
    style.noHScale = noScale == "none" || noScale == "horizontal";
    style.noVScale = noScale == "none" || noScale == "vertical";
    if (c.argc() > 5 && !c.arg(5).isNullish())
        style.startCap = style.endCap = capOf(c.vm.toString(c.arg(5)).toStd());
    if (c.argc() > 6 && !c.arg(6).isNullish())
        style.join = joinOf(c.vm.toString(c.arg(6)).toStd());
    const double miter = number(c, 7);
    style.miterLimit = std::isfinite(miter) ? std::clamp(miter, 1.0, 255.0) : 3;
    return style;
}

Value lineStyle(CallContext& c)
{
    const auto style = lineStyleOf(c);
    if (Drawing* drawing = drawingOf(c))
        drawing->lineStyle(style);
    return {};
}

Value lineGradientStyle(CallContext& c)
{
    const auto fill = gradientFill(c);
    Drawing* drawing = drawingOf(c);
    if (!fill || !drawing)
        return {};
    // Only the latest line style takes the gradient, as later calls would restyle it anyway.
    drawing->restyleLine(*fill);
    return {};
}

Value endFill(CallContext& c)
{
    if (Drawing* drawing = drawingOf(c))
        drawing->endFill();
    return {};
}

Value clear(CallContext& c)
{
    if (Drawing* drawing = drawingOf(c))
        drawing->clear();
    return {};
}

struct Call {
    const char* name;
    script::NativeFunction function;
};

constexpr Call kCalls[] = {
    {"moveTo", moveTo}, {"lineTo", lineTo}, {"curveTo", curveTo}, {"beginFill", beginFill},
    {"beginGradientFill", beginGradientFill}, {"beginBitmapFill", beginBitmapFill}, {"lineStyle", lineStyle}, {"lineGradientStyle", lineGradientStyle},
    {"endFill", endFill}, {"clear", clear},
};

} // namespace

void installDrawingCalls(script::Interpreter& vm, script::Object& clipPrototype)
{
    for (const Call& call : kCalls)
        vm.define(clipPrototype, call.name, Value(vm.newNative(call.function)));
}

} // namespace flash
