// Sound files a script loads beside its movie (Sound.loadSound): an event sound
// is decoded whole and waits for start(); a streaming one plays as it is read,
// fed to the mixer a little ahead. Their ID3 tags, the end of a load and the end
// of a streaming sound are told to the Sound object at the next update, after
// the call that loaded it has returned.
#pragma once

#include "flash/media/Mixer.h"
#include "flash/media/SoundFile.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace flash::script {
class Interpreter;
class Object;
}

namespace flash {

class SoundLoads {
public:
    struct Loaded {
        script::Object* sound = nullptr;          // the Sound object that loaded it
        uint64_t owner = 0;                       // the clip whose level it plays at
        std::shared_ptr<const media::Pcm> pcm;    // event sounds, once loaded
        std::unique_ptr<media::SoundFileReader> reader; // streaming sounds while they play
        std::filesystem::path path;
        std::vector<std::pair<std::string, std::string>> tags;
        std::optional<double> durationMs;
        uint64_t bytes = 0;
        size_t framesQueued = 0;
        bool streaming = false;
        bool failed = false;
        bool told = false;                        // onID3 and onLoad have been called
    };

    // Loads `path` (nothing: refused or missing) for `sound`; the load's id.
    uint32_t load(script::Object* sound, uint64_t owner, std::optional<std::filesystem::path> path, bool streaming);
    [[nodiscard]] Loaded* find(uint32_t id);
    // The mixer keys a load's sound plays under: as a stream, and as an event voice.
    [[nodiscard]] static uint64_t keyOf(uint32_t id);
    [[nodiscard]] static uint32_t voiceKeyOf(uint32_t id) { return 0x10000u + id; } // above every timeline sound id
    // Plays a streaming load again from `offsetFrames`.
    void restartStream(uint32_t id, size_t offsetFrames, media::Mixer* mixer);
    void stopStream(uint32_t id, media::Mixer* mixer);
    // Frames of a streaming load played so far.
    [[nodiscard]] std::optional<size_t> streamPosition(uint32_t id, const media::Mixer* mixer) const;
    // The clip whose level a mixer key plays at, for the keys of streaming loads.
    [[nodiscard]] std::optional<uint64_t> ownerOfKey(uint64_t key) const;

    // Feeds the streams and tells what happened since the last call.
    void update(script::Interpreter& vm, media::Mixer* mixer);
    // The Sound objects that may still be told something (roots of the heap).
    template<typename Mark>
    void markObjects(Mark&& mark) const
    {
        for (const auto& [id, loaded] : m_loads)
            mark(loaded.sound);
    }

private:
    void tellLoaded(script::Interpreter& vm, Loaded& loaded);

    std::map<uint32_t, Loaded> m_loads;
    uint32_t m_nextId = 1;
};

} // namespace flash
