// A MovieClipLoader is a broadcaster that hears itself, so that handlers set
// on it and on its listeners alike are told.
#include "flash/scripting/MovieLoadingCalls.h"

#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/MovieLoads.h"

namespace flash {
namespace {

using script::CallContext;
using script::Value;

std::optional<MovieLoads::Target> clipTarget(CallContext& c)
{
    MovieLoads* loads = hostOf(c).movieLoads();
    return loads ? loads->targetOf(nullptr, c.thisValue) : std::nullopt;
}

Value loadMovie(CallContext& c)
{
    MovieLoads* loads = hostOf(c).movieLoads();
    if (const auto target = clipTarget(c); loads && target && !c.arg(0).isUndefined())
        loads->loadMovie(*target, c.vm.toString(c.arg(0)).toStd());
    return {};
}

Value unloadMovie(CallContext& c)
{
    MovieLoads* loads = hostOf(c).movieLoads();
    if (const auto target = clipTarget(c); loads && target)
        loads->loadMovie(*target, {});
    return {};
}

Value loadVariables(CallContext& c)
{
    MovieLoads* loads = hostOf(c).movieLoads();
    if (const auto target = clipTarget(c); loads && target && !c.arg(0).isUndefined())
        loads->loadVariables(*target, c.vm.toString(c.arg(0)).toStd());
    return {};
}

Value loaderConstruct(CallContext& c)
{
    if (script::Object* self = c.thisObject()) {
        script::initializeBroadcaster(c.vm, *self);
        const Value listener[] = {c.thisValue};
        (void)c.vm.callMethod(c.thisValue, "addListener", listener);
    }
    return {};
}

// loadClip(url, target): true when the request is taken (a target and a url).
Value loadClip(CallContext& c)
{
    MovieLoads* loads = hostOf(c).movieLoads();
    const auto target = loads ? loads->targetOf(nullptr, c.arg(1)) : std::nullopt;
    if (!target || c.arg(0).isUndefined() || c.arg(0).isNull())
        return Value(false);
    loads->loadMovie(*target, c.vm.toString(c.arg(0)).toStd(), c.thisObject());
    return Value(true);
}

Value unloadClip(CallContext& c)
{
    MovieLoads* loads = hostOf(c).movieLoads();
    const auto target = loads ? loads->targetOf(nullptr, c.arg(0)) : std::nullopt;
    if (!target)
        return Value(false);
    loads->loadMovie(*target, {});
    return Value(true);
}

Value getProgress(CallContext& c)
{
    MovieLoads* loads = hostOf(c).movieLoads();
    const auto target = loads ? loads->targetOf(nullptr, c.arg(0)) : std::nullopt;
    const auto bytes = target ? loads->bytesOf(*target) : std::nullopt;
    script::Object* progress = c.vm.newObject();
    c.vm.setMember(Value(progress), "bytesLoaded", Value(double(bytes.value_or(0))));
    c.vm.setMember(Value(progress), "bytesTotal", Value(double(bytes.value_or(0))));
    return Value(progress);
}

} // namespace

void installMovieLoading(script::Interpreter& vm)
{
    const Value clipClass = vm.getMember(Value(vm.global()), "MovieClip");
    if (script::Object* clips = clipClass.isObject() ? vm.getMember(clipClass, "prototype").toObjectOrNull() : nullptr) {
        vm.define(*clips, "loadMovie", Value(vm.newNative(loadMovie)), script::PropertyFlag::DontEnum);
        vm.define(*clips, "unloadMovie", Value(vm.newNative(unloadMovie)), script::PropertyFlag::DontEnum);
        vm.define(*clips, "loadVariables", Value(vm.newNative(loadVariables)), script::PropertyFlag::DontEnum);
    }
    const script::LibraryClass loader = script::defineLibraryClass(vm, *vm.global(), "MovieClipLoader", loaderConstruct);
    loader.method(vm, "loadClip", loadClip);
    loader.method(vm, "unloadClip", unloadClip);
    loader.method(vm, "getProgress", getProgress);
}

} // namespace flash
