// What Sound objects share: the mixer and the movie's decoded sounds (given by
// the player), each target's volume and pan, and the starts waiting for their
// end so that onSoundComplete reaches the object that started them.
#pragma once

#include "flash/media/Mixer.h"
#include "flash/media/SoundStage.h"
#include "flash/scripting/SoundLoads.h"

#include <map>

namespace flash::script {
class Object;
}

namespace flash {

class ScriptRuntime;

class SoundScripts {
public:
    explicit SoundScripts(ScriptRuntime& runtime);
    ~SoundScripts();
    SoundScripts(const SoundScripts&) = delete;
    SoundScripts& operator=(const SoundScripts&) = delete;

    void connect(media::Mixer* mixer, media::SoundStage* library);
    [[nodiscard]] media::Mixer* mixer() const { return m_mixer; }
    [[nodiscard]] media::SoundStage* library() const { return m_library; }

    // Sound files the movie's scripts loaded.
    [[nodiscard]] SoundLoads& loads() { return m_loads; }
    // Feeds loaded streams and tells loads and ends (after a tick, when scripts may run).
    void update();

    // A new start by `sound` (a Sound object), remembered until it ends.
    [[nodiscard]] uint32_t started(script::Object* sound);
    // Tells each finished start's Sound object (onSoundComplete).
    void finished(const std::vector<uint32_t>& tokens);

    struct Level {
        double volume = 100, pan = 0; // as getVolume and getPan give them
        double ll = 100, lr = 0, rr = 100, rl = 0; // getTransform's percentages

        // What each side plays at (1 is full); the cross terms of a transform are not mixed.
        [[nodiscard]] double left() const { return volume / 100 * ll / 100; }
        [[nodiscard]] double right() const { return volume / 100 * rr / 100; }
    };
    // The level of what `owner` (a clip's identity, 0 for the whole movie) plays.
    [[nodiscard]] Level& levelOf(uint64_t owner) { return m_levels[owner]; }
    // The sound the mixer plays under `key` (a stream of a NetStream) plays at the level of clip `owner`.
    void setKeyOwner(uint64_t key, uint64_t owner) { m_keyOwners[key] = owner; }
    // Hands the mixer the level of everything playing: a clip's sounds play at
    // its own level times its parents', the whole mix at the movie's.
    void applyLevels();

private:
    ScriptRuntime& m_runtime;
    media::Mixer* m_mixer = nullptr;
    media::SoundStage* m_library = nullptr;
    std::map<uint64_t, Level> m_levels;
    std::map<uint64_t, uint64_t> m_keyOwners; // mixer keys that play at a clip's level, and that clip
    SoundLoads m_loads;
    std::map<uint32_t, script::Object*> m_waiting; // start -> the Sound object that made it
    uint32_t m_nextToken = 1;
    uint32_t m_rootSource = 0; // the heap's id of the roots this keeps
};

} // namespace flash
