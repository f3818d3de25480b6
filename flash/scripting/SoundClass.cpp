// A Sound keeps its target and attached sound in hidden members; levels are
// kept per target, so every Sound on one clip reads and sets the same volume.
#include "flash/scripting/SoundClass.h"

#include "flash/io/LocalUrl.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/SoundScripts.h"
#include "flash/scripting/StageHost.h"

#include <algorithm>
#include <cmath>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

constexpr const char* kSound = "__sound";
constexpr const char* kToken = "__start";
constexpr const char* kLoaded = "__loaded"; // the id of a sound file this object loaded

// The clip whose sounds this object controls: 0 (the whole movie) without a target.
uint64_t ownerOf(CallContext& c)
{
    const DisplayObject* clip = targetClipOf(c);
    return clip ? clip->id : 0;
}

std::optional<uint16_t> attachedSound(CallContext& c)
{
    const Value id = c.vm.getMember(c.thisValue, kSound);
    return id.isNumber() ? std::optional<uint16_t>(uint16_t(id.asNumber())) : std::nullopt;
}

// The movie whose library the object's sounds come from: its target's.
const std::shared_ptr<const Movie>& movieOf(CallContext& c)
{
    const DisplayObject* clip = targetClipOf(c);
    return clip ? hostOf(c).stage().sharedMovieOf(*clip) : hostOf(c).stage().sharedMovie();
}

std::optional<uint32_t> loadedSound(CallContext& c)
{
    const Value id = c.vm.getMember(c.thisValue, kLoaded);
    return id.isNumber() ? std::optional<uint32_t>(uint32_t(id.asNumber())) : std::nullopt;
}

SoundLoads::Loaded* loadedOf(CallContext& c)
{
    SoundScripts* sounds = hostOf(c).soundScripts();
    const auto id = loadedSound(c);
    return sounds && id ? sounds->loads().find(*id) : nullptr;
}

std::shared_ptr<const media::Pcm> pcmOf(CallContext& c)
{
    SoundScripts* sounds = hostOf(c).soundScripts();
    if (const SoundLoads::Loaded* loaded = loadedOf(c))
        return loaded->pcm;
    const auto id = attachedSound(c);
    return sounds && sounds->library() && id ? sounds->library()->sound(*id, movieOf(c)) : nullptr;
}

double number(CallContext& c, size_t i, double fallback)
{
    const double v = c.arg(i).isUndefined() ? fallback : c.vm.toNumber(c.arg(i));
    return std::isfinite(v) ? v : fallback;
}

Value construct(CallContext& c)
{
    if (script::Object* self = c.thisObject())
        c.vm.define(*self, kTargetMember, c.arg(0), script::PropertyFlag::DontEnum);
    return {};
}

Value attachSound(CallContext& c)
{
    const std::string linkage = c.vm.toString(c.arg(0)).toStd();
    const auto character = hostOf(c).exportedCharacter(linkage, targetClipOf(c));
    if (!character || !movieOf(c)->find<SoundDef>(*character))
        return {};
    if (script::Object* self = c.thisObject()) {
        c.vm.define(*self, kSound, Value(double(*character)), script::PropertyFlag::DontEnum);
        c.vm.define(*self, kLoaded, Value(), script::PropertyFlag::DontEnum);
    }
    return {};
}

Value start(CallContext& c)
{
    const double offset = std::max(0.0, number(c, 0, 0));
    const double loops = std::clamp(number(c, 1, 1), 1.0, 65535.0);
    SoundScripts* sounds = hostOf(c).soundScripts();
    if (!sounds || !sounds->mixer())
        return {};
    const auto loadId = loadedSound(c);
    const SoundLoads::Loaded* loaded = loadedOf(c);
    if (loaded && loaded->streaming) {
        sounds->loads().restartStream(*loadId, size_t(offset * media::kMixRate), sounds->mixer());
        return {};
    }
    std::optional<uint32_t> id = attachedSound(c);
    if (loaded)
        id = SoundLoads::voiceKeyOf(*loadId);
    const auto pcm = pcmOf(c);
    if (!id || !pcm)
        return {};
    media::SoundInfo info;
    info.inPoint = uint32_t(std::min(offset * media::kMixRate, double(pcm->frames())));
    info.loops = uint16_t(loops);
    const uint64_t owner = ownerOf(c);
    const uint32_t token = sounds->started(c.thisObject());
    sounds->mixer()->startSound(*id, pcm, info, {owner, token});
    sounds->applyLevels();
    if (script::Object* self = c.thisObject())
        c.vm.define(*self, kToken, Value(double(token)), script::PropertyFlag::DontEnum);
    return {};
}

// stop(): everything this object's target plays; stop(linkage): that sound wherever it plays.
Value stop(CallContext& c)
{
    SoundScripts* sounds = hostOf(c).soundScripts();
    if (!sounds || !sounds->mixer())
        return {};
    if (!c.arg(0).isUndefined()) {
        const auto character = hostOf(c).exportedCharacter(c.vm.toString(c.arg(0)).toStd());
        if (character)
            sounds->mixer()->stopSound(*character);
        return {};
    }
    if (const auto loadId = loadedSound(c))
        sounds->loads().stopStream(*loadId, sounds->mixer());
    const uint64_t owner = ownerOf(c);
    if (owner == 0)
        sounds->mixer()->stopAll();
    else
        sounds->mixer()->stopOwner(owner);
    return {};
}

SoundScripts::Level* levelOf(CallContext& c)
{
    SoundScripts* sounds = hostOf(c).soundScripts();
    return sounds ? &sounds->levelOf(ownerOf(c)) : nullptr;
}

Value getVolume(CallContext& c)
{
    const SoundScripts::Level* level = levelOf(c);
    return Value(level ? level->volume : 100.0);
}

Value setVolume(CallContext& c)
{
    const double volume = number(c, 0, 100);
    if (SoundScripts::Level* level = levelOf(c)) {
        level->volume = std::trunc(volume);
        hostOf(c).soundScripts()->applyLevels();
    }
    return {};
}

Value getPan(CallContext& c)
{
    const SoundScripts::Level* level = levelOf(c);
    return Value(level ? level->pan : 0.0);
}

Value setPan(CallContext& c)
{
    const double pan = std::clamp(number(c, 0, 0), -100.0, 100.0);
    if (SoundScripts::Level* level = levelOf(c)) {
        level->pan = std::trunc(pan);
        level->ll = pan > 0 ? 100 - pan : 100;
        level->rr = pan < 0 ? 100 + pan : 100;
        hostOf(c).soundScripts()->applyLevels();
    }
    return {};
}

Value getTransform(CallContext& c)
{
    const SoundScripts::Level level = levelOf(c) ? *levelOf(c) : SoundScripts::Level{};
    script::Object* result = c.vm.newObject();
    c.vm.setMember(Value(result), "ll", Value(level.ll));
    c.vm.setMember(Value(result), "lr", Value(level.lr));
    c.vm.setMember(Value(result), "rr", Value(level.rr));
    c.vm.setMember(Value(result), "rl", Value(level.rl));
    return Value(result);
}

// The transform's two direct gains become a pan and a volume; the cross terms are kept for reading back.
Value setTransform(CallContext& c)
{
    const Value t = c.arg(0);
    if (!t.isObject())
        return {};
    auto part = [&](const char* name, double fallback) {
        const double v = c.vm.toNumber(c.vm.getMember(t, name));
        return std::isfinite(v) ? v : fallback;
    };
    const double ll = part("ll", 100), lr = part("lr", 0), rr = part("rr", 100), rl = part("rl", 0);
    if (SoundScripts::Level* level = levelOf(c)) {
        level->ll = ll;
        level->lr = lr;
        level->rr = rr;
        level->rl = rl;
        const double loudest = std::max(ll, rr);
        level->pan = loudest > 0 ? (rr - ll) / loudest * 100 : 0;
        hostOf(c).soundScripts()->applyLevels();
    }
    return {};
}

Value getDuration(CallContext& c)
{
    if (const SoundLoads::Loaded* loaded = loadedOf(c); loaded && loaded->streaming)
        return loaded->durationMs ? Value(std::floor(*loaded->durationMs)) : Value(0);
    const auto pcm = pcmOf(c);
    return pcm ? Value(std::floor(double(pcm->frames()) * 1000 / media::kMixRate)) : Value();
}

Value getPosition(CallContext& c)
{
    SoundScripts* sounds = hostOf(c).soundScripts();
    if (const auto loadId = loadedSound(c); sounds && loadId) {
        if (const auto frames = sounds->loads().streamPosition(*loadId, sounds->mixer()))
            return Value(std::floor(double(*frames) * 1000 / media::kMixRate));
    }
    const Value token = c.vm.getMember(c.thisValue, kToken);
    if (!sounds || !sounds->mixer() || !token.isNumber())
        return Value(0);
    const auto frames = sounds->mixer()->positionOf(uint32_t(token.asNumber()));
    if (frames)
        return Value(std::floor(double(*frames) * 1000 / media::kMixRate));
    // A sound that has ended reads its full length, as the reference runtime leaves it.
    return getDuration(c);
}

Value getBytes(CallContext& c)
{
    if (const SoundLoads::Loaded* loaded = loadedOf(c))
        return Value(double(loaded->bytes));
    const auto id = attachedSound(c);
    const auto def = id ? movieOf(c)->find<SoundDef>(*id) : nullptr;
    return def ? Value(double(def->data.size())) : Value();
}

Value setDummy(CallContext&)
{
    return {};
}

// loadSound(url, isStreaming): a sound file from the movie's folder. A streaming
// sound plays as it loads; an event sound waits for start(). onLoad tells either way.
Value loadSound(CallContext& c)
{
    SoundScripts* sounds = hostOf(c).soundScripts();
    script::Object* self = c.thisObject();
    if (!sounds || !self)
        return {};
    if (const auto previous = loadedSound(c))
        sounds->loads().stopStream(*previous, sounds->mixer());
    const auto path = resolveLocalUrl(hostOf(c).stage().folder(), c.vm.toString(c.arg(0)).toStd());
    const bool streaming = c.vm.toBoolean(c.arg(1));
    const uint32_t id = sounds->loads().load(self, ownerOf(c), path ? std::optional(*path) : std::nullopt, streaming);
    c.vm.define(*self, kLoaded, Value(double(id)), script::PropertyFlag::DontEnum);
    c.vm.define(*self, kSound, Value(), script::PropertyFlag::DontEnum);
    return {};
}

} // namespace

void installSound(script::Interpreter& vm)
{
    const script::LibraryClass sound = script::defineLibraryClass(vm, *vm.global(), "Sound", construct);
    const std::pair<const char*, script::NativeFunction> methods[] = {
        {"attachSound", attachSound}, {"start", start},         {"stop", stop},
        {"getVolume", getVolume},     {"setVolume", setVolume}, {"getPan", getPan},
        {"setPan", setPan},           {"getTransform", getTransform}, {"setTransform", setTransform},
        {"getDuration", getDuration}, {"getPosition", getPosition},   {"getBytesLoaded", getBytes},
        {"getBytesTotal", getBytes},  {"loadSound", loadSound},
    };
    for (const auto& [name, native] : methods)
        sound.method(vm, name, native);
    script::defineAccessor(vm, *sound.prototype, "duration", getDuration, setDummy);
    script::defineAccessor(vm, *sound.prototype, "position", getPosition, setDummy);
    vm.define(*sound.prototype, "id3", Value(vm.newObject()), script::PropertyFlag::DontEnum);
}

} // namespace flash
