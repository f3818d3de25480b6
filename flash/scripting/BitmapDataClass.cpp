// A BitmapData's pixels live in a store object in a hidden member; the size a
// constructor is given is checked against the runtime's limits, and a refused
// size makes a bitmap that behaves as a disposed one: its width and height
// read -1 and its methods do nothing.
#include "flash/scripting/BitmapDataClass.h"

#include "flash/script/Interpreter.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/bitmap/BitmapCalls.h"
#include "flash/scripting/bitmap/SurfacePixels.h"

#include <cmath>
#include <optional>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

// new BitmapData(width, height[, transparent = true, fillColor = 0xFFFFFFFF])
Value construct(CallContext& c)
{
    script::Object* self = c.thisObject();
    if (!c.isConstruct() || !self)
        return {};
    const int width = coordinateArg(c, 0), height = coordinateArg(c, 1);
    const bool transparent = flagArg(c, 2, true);
    const uint32_t fill = uint32Arg(c, 3, 0xFFFFFFFF);
    giveStore(c.vm, *self, makeSurface(width, height, transparent, fill));
    return {};
}

// A size as scripts read it: -1 once the bitmap is disposed.
template<int BitmapSurface::*Side>
Value side(CallContext& c)
{
    if (!storeOf(c.thisValue))
        return {};
    const auto self = surfaceOf(c.thisValue);
    return Value(self ? (*self).*Side : -1);
}

Value transparent(CallContext& c)
{
    const auto self = surfaceOf(c.thisValue);
    return self ? Value(self->transparent) : Value();
}

Value rectangle(CallContext& c)
{
    const auto self = surfaceOf(c.thisValue);
    return self ? rectangleValue(c.vm, boundsOf(*self)) : Value();
}

Value readOnly(CallContext&)
{
    return {};
}

Value clone(CallContext& c)
{
    const auto self = surfaceOf(c.thisValue);
    return self ? newBitmapData(c, copySurface(*self)) : Value();
}

// The pixels go at once, from every clip showing them too.
Value dispose(CallContext& c)
{
    if (BitmapStore* store = storeOf(c.thisValue); store && store->surface) {
        releaseSurface(*store->surface);
        store->surface.reset();
    }
    return {};
}

// BitmapData.loadBitmap(linkage): a new bitmap holding the movie's bitmap exported under that name.
Value loadBitmap(CallContext& c)
{
    const std::string linkage = c.vm.toString(c.arg(0)).toStd();
    StageHost& host = hostOf(c);
    const auto character = host.exportedCharacter(linkage);
    if (!character || !host.bitmapReader())
        return {};
    auto surface = host.bitmapReader()(host.stage().movie(), *character);
    if (!surface || surface->isEmpty() || surface->pixels.size() < size_t(surface->width) * size_t(surface->height))
        return {};
    return newBitmapData(c, std::move(surface));
}

// A depth as scripts number them, stored as attachMovie stores it.
std::optional<Depth> scriptDepth(double depth)
{
    if (!std::isfinite(depth) || depth < kLowestScriptDepth || depth > kHighestScriptDepth)
        return std::nullopt;
    return Depth(std::floor(depth)) + kScriptDepthBase;
}

// clip.attachBitmap(bitmap, depth[, pixelSnapping, smoothing]): the clip shows the
// bitmap's pixels as they are at each paint, replacing what stood at that depth.
Value attachBitmap(CallContext& c)
{
    const auto depth = scriptDepth(c.vm.toNumber(c.arg(1)));
    const std::string snapping = c.arg(2).isUndefined() ? std::string() : c.vm.toString(c.arg(2)).toStd();
    const bool smoothing = flagArg(c, 3, false);
    StageHost& host = hostOf(c);
    DisplayObject* clip = host.displayObjectOf(c.thisValue);
    auto surface = surfaceOf(c.arg(0));
    if (clip && clip->clip && depth && surface)
        host.stage().attachSurface(*clip, *depth, std::move(surface), smoothing,
                                   snapping == "always" ? PixelSnapping::Always
                                   : snapping == "never" ? PixelSnapping::Never
                                                         : PixelSnapping::Auto);
    return {};
}

void addAttachBitmap(script::Interpreter& vm)
{
    const Value clipClass = vm.getMember(Value(vm.global()), "MovieClip");
    if (script::Object* clips = clipClass.isObject() ? vm.getMember(clipClass, "prototype").toObjectOrNull() : nullptr)
        vm.define(*clips, "attachBitmap", Value(vm.newNative(attachBitmap)), script::PropertyFlag::DontEnum);
}

} // namespace

void installBitmapData(script::Interpreter& vm)
{
    const script::LibraryClass bitmap =
        script::defineLibraryClass(vm, *script::ensurePackage(vm, "flash.display"), "BitmapData", construct);
    for (const auto methods : {pixelMethods(), transferMethods()}) {
        for (const BitmapMethod& m : methods)
            bitmap.method(vm, m.name, m.native);
    }
    bitmap.method(vm, "clone", clone);
    bitmap.method(vm, "dispose", dispose);
    script::defineAccessor(vm, *bitmap.prototype, "width", side<&BitmapSurface::width>, readOnly);
    script::defineAccessor(vm, *bitmap.prototype, "height", side<&BitmapSurface::height>, readOnly);
    script::defineAccessor(vm, *bitmap.prototype, "transparent", transparent, readOnly);
    script::defineAccessor(vm, *bitmap.prototype, "rectangle", rectangle, readOnly);
    bitmap.staticMethod(vm, "loadBitmap", loadBitmap);
    addAttachBitmap(vm);
}

} // namespace flash
