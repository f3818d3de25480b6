// Where the stage's queued work meets the interpreter.
#include "flash/scripting/ScriptRuntime.h"

#include "flash/script/HostObject.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/ClipEventFlags.h"
#include "flash/scripting/BitmapDataClass.h"
#include "flash/scripting/ColorClass.h"
#include "flash/scripting/KeyClass.h"
#include "flash/scripting/MouseClass.h"
#include "flash/scripting/MovieLoadingCalls.h"
#include "flash/scripting/NetStreamClass.h"
#include "flash/scripting/QuietLookup.h"
#include "flash/scripting/SelectionClass.h"
#include "flash/scripting/SoundClass.h"
#include "flash/scripting/StageClass.h"
#include "flash/scripting/TransformClass.h"
#include "flash/scripting/VideoClass.h"
#include "flash/scripting/MovieClipClass.h"
#include "flash/scripting/FieldVariables.h"
#include "flash/scripting/FilterClasses.h"
#include "flash/scripting/TextFieldClass.h"

namespace flash {

ScriptRuntime::ScriptRuntime(Stage& stage, std::shared_ptr<const Movie> movie, ScriptOutput output,
                             std::function<double()> clock)
    : m_movie(std::move(movie))
    , m_host(stage, std::move(output), std::move(clock))
    , m_vm(std::make_unique<script::Interpreter>(m_host))
{
    m_vm->setDefaultVersion(m_movie->header.version);
    m_host.attach(*m_vm);
    installMovieClip(*m_vm, m_host);
    installTextField(*m_vm, m_host);
    installColor(*m_vm);
    installTransform(*m_vm);
    installKey(*m_vm);
    installMouse(*m_vm);
    installStage(*m_vm);
    installSelection(*m_vm);
    installSound(*m_vm);
    installNetStream(*m_vm);
    installVideo(*m_vm, m_host);
    installMovieLoading(*m_vm);
    installFilterClasses(*m_vm);
    installBitmapData(*m_vm);
    m_sharedObjects = std::make_unique<SharedObjects>(*m_vm);
    m_host.setFocusScripts(&m_focus);
    m_sounds = std::make_unique<SoundScripts>(*this);
    m_host.setSoundScripts(m_sounds.get());
    m_netStreams = std::make_unique<NetStreamScripts>(*this, *m_sounds);
    m_host.setNetStreams(m_netStreams.get());
    m_movieLoads = std::make_unique<MovieLoads>(*this);
    m_host.setMovieLoads(m_movieLoads.get());
    // getVersion() reads this variable of the main movie, as the runtime kept it there.
    if (script::Object* root = m_host.objectFor(stage.root()))
        m_vm->define(*root, "$version", m_vm->callMethod(script::Value(m_vm->global()), "getVersion").value_or(script::Value()), 0);
}

ScriptRuntime::~ScriptRuntime()
{
    // Stored objects are written while the interpreter that holds them still lives.
    m_sharedObjects.reset();
    // The host is destroyed after the interpreter; it must not reach into it then.
    m_host.setMovieLoads(nullptr);
    m_movieLoads.reset();
    m_host.setNetStreams(nullptr);
    m_netStreams.reset();
    m_host.setSoundScripts(nullptr);
    m_sounds.reset();
    m_host.detach();
    m_vm.reset();
}

void ScriptRuntime::setTimeLimit(std::chrono::milliseconds limit)
{
    m_vm->setTimeLimit(limit);
}

script::ActionBlock ScriptRuntime::blockOf(std::span<const uint8_t> actions, const DisplayObject& clip) const
{
    // Actions run with the version of the movie they came from, which keeps their bytes alive.
    const std::shared_ptr<const Movie>& movie = m_host.stage().sharedMovieOf(clip);
    return {actions, movie, movie->header.version};
}

void ScriptRuntime::runBlock(std::span<const uint8_t> actions, const DisplayObject& clip, script::Object* self)
{
    // What the block registers (registerClass) is looked up in the movie it came from.
    const ObjectHandle outer = m_host.runningClip();
    m_host.setRunningClip(handleOf(clip));
    m_vm->run(blockOf(actions, clip), self);
    m_host.setRunningClip(outer);
}

void ScriptRuntime::runInitActions(Stage&, DisplayObject& owner, const DoAction& action)
{
    runBlock(action.actions, owner, m_host.objectFor(owner));
}

void ScriptRuntime::runFrameActions(Stage&, DisplayObject& clip, const DoAction& action)
{
    runBlock(action.actions, clip, m_host.objectFor(clip));
}

// Each step looks the clip up again: a handler may remove the clip, or its parent.
void ScriptRuntime::constructClip(Stage&, DisplayObject& clip)
{
    const ObjectHandle handle = handleOf(clip);
    runClipActions(handle, ClipEventFlag::Initialize | ClipEventFlag::Construct);
    if (DisplayObject* object = m_host.stage().registry().find(handle))
        m_host.constructNow(*object);
    runClipActions(handle, ClipEventFlag::Load);
    callHandler(handle, "onLoad");
}

void ScriptRuntime::clipEvent(Stage&, DisplayObject& clip, ClipEvent event)
{
    const ObjectHandle handle = handleOf(clip);
    switch (event) {
    case ClipEvent::Load:
        runClipActions(handle, ClipEventFlag::Load);
        callHandler(handle, "onLoad");
        break;
    case ClipEvent::EnterFrame: {
        // Every clip hears this on every frame: most have no handler, and only
        // a clip that has one gets a script object made for it.
        static const script::String onEnterFrame("onEnterFrame");
        runClipActions(handle, ClipEventFlag::EnterFrame);
        callDefinedHandler(handle, onEnterFrame);
        break;
    }
    case ClipEvent::Unload:
        runClipActions(handle, ClipEventFlag::Unload);
        callHandler(handle, "onUnload");
        break;
    }
}

// Removed clips are still found here until their unload handlers have run.
script::Object* ScriptRuntime::objectOf(ObjectHandle handle)
{
    DisplayObject* object = m_host.stage().registry().find(handle);
    return object ? m_host.objectFor(*object) : nullptr;
}

void ScriptRuntime::runClipActions(ObjectHandle handle, uint32_t flags, uint8_t key)
{
    const DisplayObject* clip = m_host.stage().registry().find(handle);
    if (!clip || clip->clipActions.empty())
        return;
    // The handlers belong to the movie, which outlives this call even if the clip goes.
    const std::span<const ClipAction> handlers = clip->clipActions;
    for (const ClipAction& handler : handlers) {
        if (!(handler.events & flags) || (key && handler.keyCode != key))
            continue;
        script::Object* self = objectOf(handle);
        const DisplayObject* object = m_host.stage().find(handle);
        if (!self || !object)
            return;
        runBlock(handler.actions, *object, self);
    }
}

void ScriptRuntime::callHandler(ObjectHandle handle, std::string_view name, std::span<const script::Value> args)
{
    if (script::Object* self = objectOf(handle))
        m_vm->callMethod(script::Value(self), name, args);
}

void ScriptRuntime::callDefinedHandler(ObjectHandle handle, const script::String& name)
{
    const DisplayObject* object = m_host.stage().find(handle);
    if (!object)
        return;
    const script::Object* self = m_host.existingObjectFor(*object);
    if (hasFunctionQuietly(self ? self : m_host.prototypeFor(*object), name, m_vm->caseMode()))
        callHandler(handle, name.view());
}

void ScriptRuntime::runActions(std::span<const uint8_t> actions, ObjectHandle target)
{
    const DisplayObject* object = m_host.stage().find(target);
    if (script::Object* self = objectOf(target); self && object)
        runBlock(actions, *object, self);
}

void ScriptRuntime::finishTick()
{
    m_movieLoads->process();
    m_netStreams->update(m_host.timeMs());
    m_vm->runDueTimers(m_host.timeMs());
    syncFieldVariables(m_host);
    m_host.publishDrawings();
}

std::optional<double> ScriptRuntime::nextTimerDueMs()
{
    const auto timer = m_vm->timers().nextDueMs();
    const auto picture = m_netStreams->nextPictureDueMs();
    if (timer && picture)
        return std::min(*timer, *picture);
    return timer ? timer : picture;
}

void ScriptRuntime::collect()
{
    m_vm->collect();
}

void ScriptRuntime::collectIfDue()
{
    if (m_vm->heap().isCollectionDue())
        m_vm->collect();
}

} // namespace flash
