// A NetStream keeps its stream's id in a hidden member; the stream itself lives
// in the runtime's NetStreamScripts, which outlives any script object.
#include "flash/scripting/NetStreamClass.h"

#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/NetStreamScripts.h"

#include <cmath>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

constexpr const char* kStreamId = "__stream";

Value connectionConstruct(CallContext& c)
{
    if (script::Object* self = c.thisObject())
        c.vm.define(*self, "isConnected", Value(false), script::PropertyFlag::DontEnum);
    return {};
}

// connect(null) is the local connection progressive files play through; any
// server address fails as a refused connection does.
Value connect(CallContext& c)
{
    script::Object* self = c.thisObject();
    if (!self)
        return Value(false);
    const bool local = c.arg(0).isNull() || c.arg(0).isUndefined()
                       || (c.arg(0).isString() && c.vm.toString(c.arg(0)).toStd() == "null");
    c.vm.setMember(Value(self), "isConnected", Value(local));
    if (NetStreamScripts* streams = hostOf(c).netStreams()) {
        if (local)
            streams->postStatus(self, "NetConnection.Connect.Success", "status");
        else
            streams->postStatus(self, "NetConnection.Connect.Failed", "error");
    }
    return Value(local);
}

Value connectionClose(CallContext& c)
{
    if (script::Object* self = c.thisObject())
        c.vm.setMember(Value(self), "isConnected", Value(false));
    return {};
}

std::optional<uint32_t> streamIdOf(CallContext& c)
{
    const Value id = c.vm.getMember(c.thisValue, kStreamId);
    return id.isNumber() ? std::optional<uint32_t>(uint32_t(id.asNumber())) : std::nullopt;
}

media::FlvPlayback* playbackOf(CallContext& c)
{
    NetStreamScripts* streams = hostOf(c).netStreams();
    const auto id = streamIdOf(c);
    return streams && id ? streams->stream(*id) : nullptr;
}

Value streamConstruct(CallContext& c)
{
    script::Object* self = c.thisObject();
    NetStreamScripts* streams = hostOf(c).netStreams();
    if (!self || !streams)
        return {};
    c.vm.define(*self, kStreamId, Value(double(streams->add(self))), script::PropertyFlag::DontEnum);
    return {};
}

Value play(CallContext& c)
{
    NetStreamScripts* streams = hostOf(c).netStreams();
    if (const auto id = streamIdOf(c); streams && id)
        streams->play(*id, c.vm.toString(c.arg(0)).toStd());
    return {};
}

Value pause(CallContext& c)
{
    if (media::FlvPlayback* playback = playbackOf(c)) {
        const std::optional<bool> wanted = c.arg(0).isUndefined() ? std::nullopt : std::optional(c.vm.toBoolean(c.arg(0)));
        playback->pause(wanted, hostOf(c).netStreams()->mixer());
    }
    return {};
}

Value seek(CallContext& c)
{
    if (media::FlvPlayback* playback = playbackOf(c))
        playback->seek(c.vm.toNumber(c.arg(0)), hostOf(c).netStreams()->mixer());
    return {};
}

Value close(CallContext& c)
{
    if (media::FlvPlayback* playback = playbackOf(c))
        playback->close(hostOf(c).netStreams()->mixer());
    return {};
}

Value setBufferTime(CallContext& c)
{
    if (media::FlvPlayback* playback = playbackOf(c))
        playback->setBufferTime(c.vm.toNumber(c.arg(0)));
    return {};
}

template<typename Read>
Value reading(CallContext& c, Read read)
{
    const media::FlvPlayback* playback = playbackOf(c);
    return Value(playback ? double(read(*playback)) : 0.0);
}

Value getTime(CallContext& c)
{
    // Seconds with the millisecond, as the runtime gives them.
    return reading(c, [](const media::FlvPlayback& p) { return std::floor(p.timeSeconds() * 1000) / 1000; });
}

Value getBufferTime(CallContext& c)
{
    const media::FlvPlayback* playback = playbackOf(c);
    return Value(playback ? playback->bufferTime() : 0.1);
}

Value getBufferLength(CallContext& c)
{
    const media::Mixer* mixer = hostOf(c).netStreams() ? hostOf(c).netStreams()->mixer() : nullptr;
    return reading(c, [mixer](const media::FlvPlayback& p) { return p.bufferLengthSeconds(mixer); });
}

Value getBytes(CallContext& c)
{
    return reading(c, [](const media::FlvPlayback& p) { return p.bytesTotal(); });
}

// A local stream has no live delay.
Value getZero(CallContext&)
{
    return Value(0);
}

Value readOnly(CallContext&)
{
    return {};
}

} // namespace

void installNetStream(script::Interpreter& vm)
{
    const script::LibraryClass connection = script::defineLibraryClass(vm, *vm.global(), "NetConnection", connectionConstruct);
    connection.method(vm, "connect", connect);
    connection.method(vm, "close", connectionClose);

    const script::LibraryClass stream = script::defineLibraryClass(vm, *vm.global(), "NetStream", streamConstruct);
    const std::pair<const char*, script::NativeFunction> methods[] = {
        {"play", play}, {"pause", pause}, {"seek", seek}, {"close", close}, {"setBufferTime", setBufferTime},
    };
    for (const auto& [name, native] : methods)
        stream.method(vm, name, native);
    const std::pair<const char*, script::NativeFunction> readings[] = {
        {"time", getTime},           {"bufferTime", getBufferTime}, {"bufferLength", getBufferLength},
        {"bytesLoaded", getBytes},   {"bytesTotal", getBytes},      {"liveDelay", getZero},
    };
    for (const auto& [name, getter] : readings)
        script::defineAccessor(vm, *stream.prototype, name, getter, readOnly);
}

} // namespace flash
