// A movie may load sounds without end: past kMaxLoads the oldest load goes.
#include "flash/scripting/SoundLoads.h"

#include "flash/script/Interpreter.h"

#include <system_error>

namespace flash {

namespace {

constexpr size_t kMaxLoads = 256;
constexpr size_t kLeadFrames = media::kMixRate / 2; // a streaming sound is fed half a second ahead
// Mixer keys of loaded sounds: above every timeline sound id, and, as stream
// keys, above every clip identity.
constexpr uint64_t kKeyBase = uint64_t(1) << 61;

} // namespace

uint64_t SoundLoads::keyOf(uint32_t id)
{
    return kKeyBase + id;
}

uint32_t SoundLoads::load(script::Object* sound, uint64_t owner, std::optional<std::filesystem::path> path, bool streaming)
{
    if (m_loads.size() >= kMaxLoads)
        m_loads.erase(m_loads.begin());
    const uint32_t id = m_nextId++;
    Loaded& loaded = m_loads[id];
    loaded.sound = sound;
    loaded.owner = owner;
    loaded.streaming = streaming;
    auto reader = path ? media::SoundFileReader::open(*path) : nullptr;
    if (!reader) {
        loaded.failed = true;
        return id;
    }
    std::error_code error;
    loaded.bytes = std::filesystem::file_size(*path, error);
    loaded.path = *path;
    loaded.tags = reader->tags();
    loaded.durationMs = reader->durationMs();
    if (streaming) {
        loaded.reader = std::move(reader);
        return id;
    }
    media::Pcm pcm;
    while (!reader->atEnd() && pcm.frames() < media::kMaxSoundFileFrames) {
        media::Pcm part = reader->read(media::kMixRate);
        if (part.isEmpty() && reader->atEnd())
            break;
        pcm.samples.insert(pcm.samples.end(), part.samples.begin(), part.samples.end());
    }
    if (pcm.isEmpty())
        loaded.failed = true;
    else
        loaded.durationMs = double(pcm.frames()) * 1000 / media::kMixRate;
    loaded.pcm = std::make_shared<const media::Pcm>(std::move(pcm));
    return id;
}

SoundLoads::Loaded* SoundLoads::find(uint32_t id)
{
    const auto it = m_loads.find(id);
    return it == m_loads.end() ? nullptr : &it->second;
}

void SoundLoads::restartStream(uint32_t id, size_t offsetFrames, media::Mixer* mixer)
{
    Loaded* loaded = find(id);
    if (!loaded || !loaded->streaming || loaded->failed)
        return;
    stopStream(id, mixer);
    loaded->reader = media::SoundFileReader::open(loaded->path);
    loaded->framesQueued = 0;
    // The file is read from its start; what comes before the offset is dropped.
    while (loaded->reader && offsetFrames > 0 && !loaded->reader->atEnd()) {
        const media::Pcm skipped = loaded->reader->read(std::min(offsetFrames, size_t(media::kMixRate)));
        if (skipped.isEmpty())
            break;
        offsetFrames -= std::min(offsetFrames, skipped.frames());
    }
}

void SoundLoads::stopStream(uint32_t id, media::Mixer* mixer)
{
    Loaded* loaded = find(id);
    if (!loaded || !loaded->streaming)
        return;
    if (mixer)
        mixer->stopStream(keyOf(id));
    loaded->reader.reset();
}

std::optional<size_t> SoundLoads::streamPosition(uint32_t id, const media::Mixer* mixer) const
{
    const auto it = m_loads.find(id);
    if (it == m_loads.end() || !it->second.streaming)
        return std::nullopt;
    const size_t backlog = mixer ? mixer->streamBacklog(keyOf(id)) : 0;
    return it->second.framesQueued - std::min(backlog, it->second.framesQueued);
}

std::optional<uint64_t> SoundLoads::ownerOfKey(uint64_t key) const
{
    if (key <= kKeyBase || key > kKeyBase + UINT32_MAX)
        return std::nullopt;
    const auto it = m_loads.find(uint32_t(key - kKeyBase));
    return it == m_loads.end() ? std::nullopt : std::optional(it->second.owner);
}

void SoundLoads::tellLoaded(script::Interpreter& vm, Loaded& loaded)
{
    loaded.told = true;
    const script::Value sound(loaded.sound);
    if (!loaded.failed && !loaded.tags.empty()) {
        script::Object* id3 = vm.newObject();
        for (const auto& [name, value] : loaded.tags)
            vm.setMember(script::Value(id3), name, script::Value(vm.makeString(value)));
        vm.setMember(sound, "id3", script::Value(id3));
        vm.callMethod(sound, "onID3");
    }
    const script::Value success[] = {script::Value(!loaded.failed)};
    vm.callMethod(sound, "onLoad", success);
}

void SoundLoads::update(script::Interpreter& vm, media::Mixer* mixer)
{
    std::vector<uint32_t> ids;
    for (const auto& [id, loaded] : m_loads)
        ids.push_back(id);
    for (uint32_t id : ids) {
        // A handler may load again, which may let this load go: look it up each time.
        Loaded* loaded = find(id);
        if (loaded && !loaded->told)
            tellLoaded(vm, *loaded);
        loaded = find(id);
        if (!loaded || !loaded->reader || !mixer)
            continue;
        const uint64_t key = keyOf(id);
        if (loaded->framesQueued > 0 && !mixer->hasStream(key)) {
            loaded->reader.reset(); // stopped from outside (stopAllSounds)
            continue;
        }
        for (int guard = 0; guard < 64 && !loaded->reader->atEnd() && mixer->streamBacklog(key) < kLeadFrames; ++guard) {
            media::Pcm part = loaded->reader->read(kLeadFrames);
            if (part.isEmpty())
                break;
            loaded->framesQueued += part.frames();
            mixer->queueStream(key, std::move(part));
        }
        if (loaded->reader->atEnd() && mixer->streamBacklog(key) == 0) {
            mixer->stopStream(key);
            loaded->reader.reset();
            vm.callMethod(script::Value(loaded->sound), "onSoundComplete");
        }
    }
}

} // namespace flash
