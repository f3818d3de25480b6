// A Video object's live state is made on the first call that needs it; the
// stream's sound goes where MovieClip.attachAudio sends it.
#include "flash/scripting/VideoClass.h"

#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/NetStreamScripts.h"
#include "flash/scripting/SoundScripts.h"

namespace flash {
namespace {

using script::CallContext;
using script::Value;

DisplayObject* videoObjectOf(CallContext& c)
{
    DisplayObject* object = hostOf(c).displayObjectOf(c.thisValue);
    return object && std::holds_alternative<std::shared_ptr<const VideoDef>>(object->character) ? object : nullptr;
}

VideoState* stateOf(CallContext& c)
{
    DisplayObject* object = videoObjectOf(c);
    if (!object)
        return nullptr;
    if (!object->video)
        object->video = std::make_unique<VideoState>();
    return object->video.get();
}

// attachVideo(stream) shows the stream's pictures; attachVideo(null) lets the object go back to its own frames.
Value attachVideo(CallContext& c)
{
    VideoState* state = stateOf(c);
    if (!state)
        return {};
    state->feed.reset();
    state->clearedAt = 0;
    NetStreamScripts* streams = hostOf(c).netStreams();
    const Value id = c.arg(0).isObject() ? c.vm.getMember(c.arg(0), "__stream") : Value();
    if (streams && id.isNumber()) {
        if (media::FlvPlayback* playback = streams->stream(uint32_t(id.asNumber())))
            state->feed = playback->feed();
    }
    return {};
}

Value clear(CallContext& c)
{
    if (VideoState* state = stateOf(c); state && state->feed)
        state->clearedAt = state->feed->serial;
    return {};
}

// The size of the stream's pictures, 0 before the first.
Value pictureSize(CallContext& c, bool width)
{
    const DisplayObject* object = videoObjectOf(c);
    const VideoPicture* picture = object && object->video ? object->video->shownPicture() : nullptr;
    if (picture)
        return Value(double(width ? picture->width : picture->height));
    return Value(0);
}

Value getWidth(CallContext& c)
{
    return pictureSize(c, true);
}

Value getHeight(CallContext& c)
{
    return pictureSize(c, false);
}

Value getSmoothing(CallContext& c)
{
    const DisplayObject* object = videoObjectOf(c);
    if (!object)
        return {};
    if (object->video && object->video->smoothing)
        return Value(*object->video->smoothing);
    return Value(std::get<std::shared_ptr<const VideoDef>>(object->character)->smoothing);
}

Value setSmoothing(CallContext& c)
{
    if (VideoState* state = stateOf(c))
        state->smoothing = c.vm.toBoolean(c.arg(0));
    return {};
}

Value getDeblocking(CallContext& c)
{
    const DisplayObject* object = videoObjectOf(c);
    if (!object)
        return {};
    if (object->video && object->video->deblocking)
        return Value(double(*object->video->deblocking));
    return Value(double(std::get<std::shared_ptr<const VideoDef>>(object->character)->deblocking));
}

Value setDeblocking(CallContext& c)
{
    const double mode = c.vm.toNumber(c.arg(0));
    if (VideoState* state = stateOf(c); state && mode >= 0 && mode <= 255)
        state->deblocking = uint8_t(mode);
    return {};
}

// MovieClip.attachAudio(stream): the stream's sound plays at the clip's level
// (its Sound objects' volume and pan, and its parents').
Value attachAudio(CallContext& c)
{
    NetStreamScripts* streams = hostOf(c).netStreams();
    SoundScripts* sounds = hostOf(c).soundScripts();
    DisplayObject* clip = hostOf(c).displayObjectOf(c.thisValue);
    const Value id = c.arg(0).isObject() ? c.vm.getMember(c.arg(0), "__stream") : Value();
    if (!streams || !sounds || !clip || !clip->clip || !id.isNumber())
        return {};
    sounds->setKeyOwner(NetStreamScripts::audioKeyOf(uint32_t(id.asNumber())), clip->id);
    sounds->applyLevels();
    return {};
}

Value noConstruction(CallContext&)
{
    return {};
}

} // namespace

void installVideo(script::Interpreter& vm, StageHost& host)
{
    const script::LibraryClass video = script::defineLibraryClass(vm, *vm.global(), "Video", noConstruction);
    video.method(vm, "attachVideo", attachVideo);
    video.method(vm, "clear", clear);
    script::defineAccessor(vm, *video.prototype, "width", getWidth, nullptr);
    script::defineAccessor(vm, *video.prototype, "height", getHeight, nullptr);
    script::defineAccessor(vm, *video.prototype, "smoothing", getSmoothing, setSmoothing);
    script::defineAccessor(vm, *video.prototype, "deblocking", getDeblocking, setDeblocking);
    host.setVideoPrototype(video.prototype);
    const Value clipClass = vm.getMember(Value(vm.global()), "MovieClip");
    if (script::Object* clips = clipClass.isObject() ? vm.getMember(clipClass, "prototype").toObjectOrNull() : nullptr)
        vm.define(*clips, "attachAudio", Value(vm.newNative(attachAudio)), script::PropertyFlag::DontEnum);
}

} // namespace flash
