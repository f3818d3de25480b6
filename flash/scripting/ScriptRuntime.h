// Runs a movie's scripts on its live stage: frame actions, init actions, clip
// construction and clip events, the timers, and collection at the end of a tick.
#pragma once

#include "flash/scripting/FocusScripts.h"
#include "flash/scripting/KeyScripts.h"
#include "flash/scripting/MovieLoads.h"
#include "flash/scripting/NetStreamScripts.h"
#include "flash/scripting/SoundScripts.h"
#include "flash/scripting/PointerScripts.h"
#include "flash/scripting/SharedObjectClass.h"
#include "flash/scripting/StageHost.h"
#include "flash/stage/StageScripts.h"

#include <chrono>
#include <memory>
#include <optional>
#include <span>

namespace flash::script {
class Interpreter;
struct ActionBlock;
}

namespace flash {

class ScriptRuntime final : public StageScripts {
public:
    // `clock`: milliseconds since the movie started, for getTimer and the timers.
    ScriptRuntime(Stage& stage, std::shared_ptr<const Movie> movie, ScriptOutput output, std::function<double()> clock);
    ~ScriptRuntime() override;

    void runInitActions(Stage& stage, DisplayObject& owner, const DoAction& action) override;
    void constructClip(Stage& stage, DisplayObject& clip) override;
    void runFrameActions(Stage& stage, DisplayObject& clip, const DoAction& action) override;
    void clipEvent(Stage& stage, DisplayObject& clip, ClipEvent event) override;

    // The end of a tick's scripts: loads carried out, streams brought up to
    // the clock, due timers, then drawings published for the renderer.
    void finishTick();
    // When the earliest interval, timeout or stream picture is due, on the script clock; nothing without any.
    [[nodiscard]] std::optional<double> nextTimerDueMs();
    // A safe point between ticks: frees what scripts no longer reach.
    void collect();
    // The same, once enough has been allocated since the last collection.
    void collectIfDue();
    // How long one block or handler may run before it is stopped (tests shorten it).
    void setTimeLimit(std::chrono::milliseconds limit);

    [[nodiscard]] script::Interpreter& vm() { return *m_vm; }
    [[nodiscard]] StageHost& host() { return m_host; }
    [[nodiscard]] PointerScripts& pointer() { return m_pointer; }
    [[nodiscard]] KeyScripts& keys() { return m_keys; }
    [[nodiscard]] FocusScripts& focus() { return m_focus; }
    [[nodiscard]] SoundScripts& sounds() { return *m_sounds; }
    [[nodiscard]] NetStreamScripts& netStreams() { return *m_netStreams; }
    [[nodiscard]] MovieLoads& movieLoads() { return *m_movieLoads; }

    // Runs the clip's onClipEvent blocks whose event flags include any of `flags`
    // (and, with a key, whose key-press code is `key`).
    void runClipActions(ObjectHandle clip, uint32_t flags, uint8_t key = 0);
    // Calls the method `name` of the object's script object, if it has one.
    void callHandler(ObjectHandle object, std::string_view name, std::span<const script::Value> args = {});
    // The same, only when the object or its prototypes define the method (found
    // without running scripts: no getter or __resolve answers for it).
    void callDefinedHandler(ObjectHandle object, const script::String& name);
    // Runs a block of the movie's action bytes (a button's) on the timeline `target`.
    void runActions(std::span<const uint8_t> actions, ObjectHandle target);

private:
    [[nodiscard]] script::Object* objectOf(ObjectHandle clip);
    [[nodiscard]] script::ActionBlock blockOf(std::span<const uint8_t> actions, const DisplayObject& clip) const;
    void runBlock(std::span<const uint8_t> actions, const DisplayObject& clip, script::Object* self);

    std::shared_ptr<const Movie> m_movie;
    StageHost m_host;
    std::unique_ptr<script::Interpreter> m_vm;
    PointerScripts m_pointer{*this};
    KeyScripts m_keys{*this};
    FocusScripts m_focus{*this};
    std::unique_ptr<SoundScripts> m_sounds; // made once the interpreter exists
    std::unique_ptr<NetStreamScripts> m_netStreams;
    std::unique_ptr<MovieLoads> m_movieLoads;
    std::unique_ptr<SharedObjects> m_sharedObjects; // writes what the movie stored as it goes
};

} // namespace flash
