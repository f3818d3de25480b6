// The waiting Sound objects are roots of the script heap until their sound ends.
#include "flash/scripting/SoundScripts.h"

#include "flash/script/Heap.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/ScriptRuntime.h"

#include <type_traits>

namespace flash {

static_assert(std::is_same_v<script::Heap::RootSourceId, uint32_t>);

SoundScripts::SoundScripts(ScriptRuntime& runtime)
    : m_runtime(runtime)
{
    m_rootSource = runtime.vm().heap().addRootSource([this](script::Tracer& tracer) {
        for (const auto& [token, object] : m_waiting)
            tracer.mark(object);
        m_loads.markObjects([&tracer](script::Object* object) { tracer.mark(object); });
    });
}

SoundScripts::~SoundScripts()
{
    m_runtime.vm().heap().removeRootSource(m_rootSource);
}

void SoundScripts::connect(media::Mixer* mixer, media::SoundStage* library)
{
    m_mixer = mixer;
    m_library = library;
}

uint32_t SoundScripts::started(script::Object* sound)
{
    const uint32_t token = m_nextToken++;
    if (m_nextToken == 0)
        m_nextToken = 1;
    // A movie that starts sounds without end does not keep every one of them alive.
    constexpr size_t kMaxWaiting = 1024;
    if (sound && m_waiting.size() < kMaxWaiting)
        m_waiting[token] = sound;
    return token;
}

void SoundScripts::finished(const std::vector<uint32_t>& tokens)
{
    for (uint32_t token : tokens) {
        const auto it = m_waiting.find(token);
        if (it == m_waiting.end())
            continue;
        script::Object* sound = it->second;
        m_waiting.erase(it);
        m_runtime.vm().callMethod(script::Value(sound), "onSoundComplete");
    }
}

void SoundScripts::update()
{
    m_loads.update(m_runtime.vm(), m_mixer);
}

void SoundScripts::applyLevels()
{
    if (!m_mixer)
        return;
    const Level& whole = levelOf(0);
    m_mixer->setGains(0, whole.left(), whole.right());
    Stage& stage = m_runtime.host().stage();
    for (uint64_t owner : m_mixer->owners()) {
        if (owner == 0)
            continue;
        double left = 1, right = 1;
        int guard = 0;
        // A loaded sound's stream plays at the level of the clip its Sound object targets.
        const auto attached = m_keyOwners.find(owner);
        const uint64_t clipId = attached != m_keyOwners.end() ? attached->second : m_loads.ownerOfKey(owner).value_or(owner);
        for (const DisplayObject* clip = stage.registry().find(ObjectHandle{clipId}); clip && guard < 256;
             clip = clip->parent, ++guard) {
            if (const auto it = m_levels.find(clip->id); it != m_levels.end()) {
                left *= it->second.left();
                right *= it->second.right();
            }
        }
        m_mixer->setGains(owner, left, right);
    }
}

} // namespace flash
