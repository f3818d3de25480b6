// The methods of MovieClip.prototype, each on the clip it is called on; a
// method called on anything else does nothing and returns undefined.
#include "flash/scripting/MovieClipClass.h"

#include "flash/script/FunctionObject.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/ClipDrawingCalls.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/StageHost.h"
#include "flash/stage/LocalBounds.h"
#include "flash/stage/ScriptMask.h"

#include <cmath>
#include <limits>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

DisplayObject* self(CallContext& c)
{
    return hostOf(c).displayObjectOf(c.thisValue);
}

DisplayObject* selfClip(CallContext& c)
{
    DisplayObject* object = self(c);
    return object && object->clip ? object : nullptr;
}

// Argument conversions may run scripts (valueOf, toString), which may remove
// clips: natives convert their arguments first and look up clips after.
double number(CallContext& c, size_t i)
{
    return c.vm.toNumber(c.arg(i));
}

std::string text(CallContext& c, size_t i)
{
    return c.vm.toString(c.arg(i)).toStd();
}

// A primitive that converts without running any script.
Value primitive(CallContext& c, size_t i)
{
    return c.arg(i).isObject() ? c.vm.toPrimitive(c.arg(i)) : c.arg(i);
}

std::optional<Depth> scriptDepth(double depth)
{
    if (!std::isfinite(depth) || depth < kLowestScriptDepth || depth > kHighestScriptDepth)
        return std::nullopt;
    return Depth(std::floor(depth)) + kScriptDepthBase;
}

Value objectValue(StageHost& host, DisplayObject* object)
{
    return object ? Value(host.objectFor(*object)) : Value();
}

// ---- Timeline ----

// A frame as gotoAndPlay takes it: a number (1-based), a label, or a number written as text.
void gotoFrameValue(CallContext& c, DisplayObject& clip, const Value& frame, uint32_t sceneOffset, bool play)
{
    Stage& stage = hostOf(c).stage();
    bool moved = false;
    if (frame.isString()) {
        const std::string label = c.vm.toString(frame).toStd();
        moved = stage.gotoLabel(clip, label);
        if (!moved) {
            const double asNumber = c.vm.toNumber(frame);
            if (std::isfinite(asNumber)) {
                stage.gotoFrame(clip, uint32_t(std::max(0.0, std::floor(asNumber) - 1 + sceneOffset)));
                moved = true;
            }
        }
    } else {
        const double n = c.vm.toNumber(frame);
        if (std::isfinite(n)) {
            stage.gotoFrame(clip, uint32_t(std::clamp(std::floor(n) - 1 + sceneOffset, 0.0, 4e9)));
            moved = true;
        }
    }
    if (moved || frame.isUndefined())
        play ? Stage::play(clip) : Stage::stop(clip);
}

void gotoWithScene(CallContext& c, bool play)
{
    const bool withScene = c.argc() >= 2;
    const std::string scene = withScene ? text(c, 0) : std::string();
    const Value frame = primitive(c, withScene ? 1 : 0);
    DisplayObject* clip = selfClip(c);
    if (!clip)
        return;
    if (withScene) {
        // gotoAndPlay(scene, frame): the frame counts from the scene's first.
        for (const Scene& candidate : clip->clip->timeline->scenes) {
            if (candidate.name == scene) {
                gotoFrameValue(c, *clip, frame, candidate.offset, play);
                return;
            }
        }
        return;
    }
    gotoFrameValue(c, *clip, frame, 0, play);
}

Value gotoAndPlay(CallContext& c)
{
    gotoWithScene(c, true);
    return {};
}

Value gotoAndStop(CallContext& c)
{
    gotoWithScene(c, false);
    return {};
}

Value play(CallContext& c)
{
    if (DisplayObject* clip = selfClip(c))
        Stage::play(*clip);
    return {};
}

Value stop(CallContext& c)
{
    if (DisplayObject* clip = selfClip(c))
        Stage::stop(*clip);
    return {};
}

Value nextFrame(CallContext& c)
{
    if (script::Object* object = c.thisObject())
        hostOf(c).nextFrame(*object);
    return {};
}

Value prevFrame(CallContext& c)
{
    if (script::Object* object = c.thisObject())
        hostOf(c).prevFrame(*object);
    return {};
}

// The scene the playhead is in, and the one `step` away from it.
void stepScene(CallContext& c, int step)
{
    DisplayObject* clip = selfClip(c);
    if (!clip || clip->clip->timeline->scenes.empty())
        return;
    const auto& scenes = clip->clip->timeline->scenes;
    int current = 0;
    for (size_t i = 0; i < scenes.size(); ++i) {
        if (scenes[i].offset <= clip->clip->currentFrame)
            current = int(i);
    }
    const int target = current + step;
    if (target < 0 || target >= int(scenes.size()))
        return;
    hostOf(c).stage().gotoFrame(*clip, scenes[size_t(target)].offset);
    Stage::stop(*clip);
}

Value nextScene(CallContext& c)
{
    stepScene(c, 1);
    return {};
}

Value prevScene(CallContext& c)
{
    stepScene(c, -1);
    return {};
}

// ---- Script-made clips ----

// initObject's properties go onto the new clip before its class constructor runs.
// Setters may run scripts that remove the clip, so it is looked up again after them.
Value initialize(CallContext& c, DisplayObject* made, const Value& initObject)
{
    StageHost& host = hostOf(c);
    script::Object* object = made ? host.objectFor(*made) : nullptr;
    if (!object)
        return {};
    const ObjectHandle handle = handleOf(*made);
    if (script::Object* init = initObject.toObjectOrNull()) {
        for (const script::String& name : c.vm.enumerableNames(*init))
            c.vm.setMember(Value(object), name, c.vm.getMember(initObject, name));
    }
    if (DisplayObject* clip = host.stage().find(handle))
        host.constructNow(*clip);
    return Value(object);
}

Value attachMovie(CallContext& c)
{
    StageHost& host = hostOf(c);
    const std::string linkage = text(c, 0), name = text(c, 1);
    const auto depth = scriptDepth(number(c, 2));
    DisplayObject* clip = selfClip(c);
    const auto character = host.exportedCharacter(linkage, clip);
    if (!clip || !depth || !character)
        return {};
    return initialize(c, host.stage().attach(*clip, *character, *depth, name), c.arg(3));
}

Value duplicateMovieClip(CallContext& c)
{
    StageHost& host = hostOf(c);
    const std::string name = text(c, 0);
    const auto depth = scriptDepth(number(c, 1));
    DisplayObject* original = self(c);
    if (!original || !depth || !original->parent)
        return {};
    return initialize(c, host.stage().duplicate(*original, *depth, name), c.arg(2));
}

Value createEmptyMovieClip(CallContext& c)
{
    StageHost& host = hostOf(c);
    const std::string name = text(c, 0);
    const auto depth = scriptDepth(number(c, 1));
    DisplayObject* clip = selfClip(c);
    if (!clip || !depth)
        return {};
    return initialize(c, host.stage().createEmptyClip(*clip, *depth, name), Value());
}

Value removeMovieClip(CallContext& c)
{
    if (DisplayObject* object = self(c))
        hostOf(c).removeScriptClip(*object);
    return {};
}

// ---- Depths ----

Value getDepth(CallContext& c)
{
    DisplayObject* object = self(c);
    return object ? Value(double(object->depth - kScriptDepthBase)) : Value();
}

Value swapDepths(CallContext& c)
{
    StageHost& host = hostOf(c);
    const bool byClip = host.displayObjectOf(c.arg(0)) != nullptr;
    const std::optional<Depth> asNumber = byClip ? std::nullopt : scriptDepth(number(c, 0));
    DisplayObject* object = self(c);
    if (!object || !object->parent)
        return {};
    std::optional<Depth> depth = asNumber;
    if (DisplayObject* other = byClip ? host.displayObjectOf(c.arg(0)) : nullptr; other && other->parent == object->parent)
        depth = other->depth;
    if (depth)
        host.stage().swapDepths(*object, *depth);
    return {};
}

Value getNextHighestDepth(CallContext& c)
{
    DisplayObject* clip = selfClip(c);
    if (!clip)
        return {};
    Depth highest = -1;
    for (const auto& [depth, child] : clip->clip->children->objects())
        highest = std::max(highest, depth - kScriptDepthBase);
    return Value(double(highest + 1));
}

Value getInstanceAtDepth(CallContext& c)
{
    const auto depth = scriptDepth(number(c, 0));
    DisplayObject* clip = selfClip(c);
    if (!clip || !depth)
        return {};
    return objectValue(hostOf(c), clip->clip->children->at(*depth));
}

// ---- Bounds and coordinates ----

Value boundsObject(CallContext& c, const std::optional<Rect>& bounds)
{
    script::Object* result = c.vm.newObject();
    // An empty clip reports the largest coordinate the format can hold.
    constexpr double kEmpty = 6710886.35;
    const auto put = [&](const char* name, double value) { c.vm.setMember(Value(result), name, Value(value)); };
    put("xMin", bounds ? bounds->xMin / kTwipsPerPixel : kEmpty);
    put("xMax", bounds ? bounds->xMax / kTwipsPerPixel : kEmpty);
    put("yMin", bounds ? bounds->yMin / kTwipsPerPixel : kEmpty);
    put("yMax", bounds ? bounds->yMax / kTwipsPerPixel : kEmpty);
    return Value(result);
}

Value getBounds(CallContext& c)
{
    DisplayObject* object = self(c);
    StageHost& host = hostOf(c);
    if (!object)
        return {};
    Matrix toSpace = toStage(*object);
    if (DisplayObject* space = host.displayObjectOf(c.arg(0))) {
        if (const auto inverse = toStage(*space).inverted())
            toSpace = inverse->multiplied(toSpace);
    } else if (c.arg(0).isUndefined()) {
        toSpace = Matrix{}; // its own space
    }
    return boundsObject(c, contentBounds(host.stage().movie(), *object, toSpace));
}

std::optional<Rect> stageBounds(StageHost& host, const DisplayObject& object)
{
    return contentBounds(host.stage().movie(), object, toStage(object));
}

Value hitTest(CallContext& c)
{
    const double x = number(c, 0) * kTwipsPerPixel, y = number(c, 1) * kTwipsPerPixel;
    const bool shapeFlag = c.vm.toBoolean(c.arg(2));
    DisplayObject* object = self(c);
    StageHost& host = hostOf(c);
    if (!object)
        return Value(false);
    if (DisplayObject* other = host.displayObjectOf(c.arg(0))) {
        const auto mine = stageBounds(host, *object);
        const auto theirs = stageBounds(host, *other);
        return Value(mine && theirs && mine->xMin <= theirs->xMax && theirs->xMin <= mine->xMax
                     && mine->yMin <= theirs->yMax && theirs->yMin <= mine->yMax);
    }
    // A point on the stage, in pixels: against the shapes themselves with the shape flag, else the bounds.
    if (shapeFlag && host.shapeHitTest()) {
        host.publishDrawings(); // what this script drew counts at once
        return Value(host.shapeHitTest()(*object, Point{x, y}));
    }
    const auto mine = stageBounds(host, *object);
    return Value(mine && x >= mine->xMin && x <= mine->xMax && y >= mine->yMin && y <= mine->yMax);
}

// setMask(clip or target path), setMask(null) lifts it.
Value setMask(CallContext& c)
{
    const Value maskValue = c.arg(0).isString() ? Value(c.vm.toString(c.arg(0))) : c.arg(0);
    DisplayObject* object = self(c);
    if (!object)
        return Value(false);
    StageHost& host = hostOf(c);
    DisplayObject* mask = host.displayObjectOf(maskValue);
    if (!mask && maskValue.isString()) {
        if (script::Object* found = host.resolveTarget(host.objectFor(*object), maskValue.asString().view()))
            mask = host.displayObjectOf(found);
    }
    setScriptMask(*object, mask);
    return Value(true);
}

// Maps the x and y of a point object in place.
void mapPoint(CallContext& c, bool toGlobal)
{
    DisplayObject* object = self(c);
    const Value point = c.arg(0);
    if (!object || !point.isObject())
        return;
    Matrix matrix = toStage(*object);
    if (!toGlobal) {
        const auto inverse = matrix.inverted();
        if (!inverse)
            return;
        matrix = *inverse;
    }
    const Point mapped = matrix.map({c.vm.toNumber(c.vm.getMember(point, "x")) * kTwipsPerPixel,
                                     c.vm.toNumber(c.vm.getMember(point, "y")) * kTwipsPerPixel});
    c.vm.setMember(point, "x", Value(mapped.x / kTwipsPerPixel));
    c.vm.setMember(point, "y", Value(mapped.y / kTwipsPerPixel));
}

Value localToGlobal(CallContext& c)
{
    mapPoint(c, true);
    return {};
}

Value globalToLocal(CallContext& c)
{
    mapPoint(c, false);
    return {};
}

// ---- The movie ----

Value getSWFVersion(CallContext& c)
{
    return self(c) ? Value(double(hostOf(c).swfVersion())) : Value();
}

Value getBytes(CallContext& c)
{
    // The whole file is loaded before the movie starts.
    const DisplayObject* clip = self(c);
    return clip ? Value(double(hostOf(c).stage().movieOf(*clip).header.fileLength)) : Value();
}

Value startDrag(CallContext& c)
{
    script::Object* object = c.thisObject();
    if (!object)
        return {};
    std::optional<script::DragBounds> bounds;
    if (c.argc() >= 5)
        bounds = script::DragBounds{number(c, 1), number(c, 2), number(c, 3), number(c, 4)};
    hostOf(c).startDrag(*object, c.vm.toBoolean(c.arg(0)) ? script::DragCenter::LockToPointer
                                                          : script::DragCenter::AsGrabbed, bounds);
    return {};
}

Value stopDrag(CallContext& c)
{
    hostOf(c).endDrag();
    return {};
}

Value movieClipConstructor(CallContext&)
{
    // `new MovieClip()` makes an object that is no clip on stage, as in the reference runtime.
    return {};
}

struct Method {
    const char* name;
    script::NativeFunction function;
};

constexpr Method kMethods[] = {
    {"gotoAndPlay", gotoAndPlay}, {"gotoAndStop", gotoAndStop}, {"play", play}, {"stop", stop},
    {"nextFrame", nextFrame}, {"prevFrame", prevFrame}, {"nextScene", nextScene}, {"prevScene", prevScene},
    {"attachMovie", attachMovie}, {"duplicateMovieClip", duplicateMovieClip},
    {"createEmptyMovieClip", createEmptyMovieClip}, {"removeMovieClip", removeMovieClip},
    {"getDepth", getDepth}, {"swapDepths", swapDepths}, {"getNextHighestDepth", getNextHighestDepth},
    {"getInstanceAtDepth", getInstanceAtDepth}, {"getBounds", getBounds}, {"getRect", getBounds},
    {"hitTest", hitTest}, {"setMask", setMask}, {"localToGlobal", localToGlobal}, {"globalToLocal", globalToLocal},
    {"getSWFVersion", getSWFVersion}, {"getBytesLoaded", getBytes}, {"getBytesTotal", getBytes},
    {"startDrag", startDrag}, {"stopDrag", stopDrag},
};

} // namespace

void installMovieClip(script::Interpreter& vm, StageHost& host)
{
    script::Object* clipPrototype = vm.newObject();
    script::FunctionObject* clipClass = vm.newConstructor(movieClipConstructor, clipPrototype);
    for (const Method& method : kMethods)
        vm.define(*clipPrototype, method.name, Value(vm.newNative(method.function)));
    installDrawingCalls(vm, *clipPrototype);
    vm.define(*clipPrototype, "enabled", Value(true), script::PropertyFlag::DontEnum);
    vm.define(*clipPrototype, "useHandCursor", Value(true), script::PropertyFlag::DontEnum);
    vm.define(*vm.global(), "MovieClip", Value(clipClass));

    script::Object* buttonPrototype = vm.newObject();
    script::FunctionObject* buttonClass = vm.newConstructor(movieClipConstructor, buttonPrototype);
    vm.define(*buttonPrototype, "getDepth", Value(vm.newNative(getDepth)));
    vm.define(*buttonPrototype, "enabled", Value(true), script::PropertyFlag::DontEnum);
    vm.define(*buttonPrototype, "useHandCursor", Value(true), script::PropertyFlag::DontEnum);
    vm.define(*vm.global(), "Button", Value(buttonClass));
    host.setPrototypes(clipPrototype, buttonPrototype);
}

} // namespace flash
