// What NetStream and NetConnection objects share: each stream's playing, the
// objects that hear its events (kept alive while they may still hear one), and
// status calls waiting for the next update, as the runtime delivers them
// after the call that caused them has returned.
#pragma once

#include "flash/media/FlvPlayback.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace flash::script {
class Object;
class Value;
}

namespace flash {

class ScriptRuntime;
class SoundScripts;

class NetStreamScripts {
public:
    NetStreamScripts(ScriptRuntime& runtime, SoundScripts& sounds);
    ~NetStreamScripts();
    NetStreamScripts(const NetStreamScripts&) = delete;
    NetStreamScripts& operator=(const NetStreamScripts&) = delete;

    // A new stream heard by `object`; its id, which the object keeps.
    [[nodiscard]] uint32_t add(script::Object* object);
    // The stream `id`, null once it is gone.
    [[nodiscard]] media::FlvPlayback* stream(uint32_t id);
    [[nodiscard]] media::Mixer* mixer() const;
    // The mixer key stream `id` plays its sound under.
    [[nodiscard]] static uint64_t audioKeyOf(uint32_t id);
    // `name` as the stream's script gives it, played from the movie's folder.
    void play(uint32_t id, const std::string& name);

    // onStatus({code, level}) of `object` at the next update.
    void postStatus(script::Object* object, std::string code, std::string level);

    // Brings every stream to the script clock and tells its events.
    void update(double nowMs);
    // When the next picture of any stream is due.
    [[nodiscard]] std::optional<double> nextPictureDueMs() const;
    // Silences every stream (the movie goes, or the mixer does).
    void stopAll();
    // The host stopped the movie (true): the streams that play pause until it plays again (false).
    void hold(bool held);

private:
    struct Entry {
        std::unique_ptr<media::FlvPlayback> playback;
        script::Object* object = nullptr;
        bool held = false; // paused by the host, not by the script
    };
    struct PostedStatus {
        script::Object* object = nullptr;
        std::string code, level;
    };
    void tell(script::Object* object, const media::NetStreamEvent& event);

    ScriptRuntime& m_runtime;
    SoundScripts& m_sounds;
    std::map<uint32_t, Entry> m_streams;
    std::vector<PostedStatus> m_posted;
    uint32_t m_nextId = 1;
    uint32_t m_rootSource = 0;
};

} // namespace flash
