// Streams and the objects waiting for their status are roots of the script heap.
// A movie may make streams without end: past kMaxStreams, the oldest that no
// longer plays is let go.
#include "flash/scripting/NetStreamScripts.h"

#include "flash/io/LocalUrl.h"
#include "flash/script/ArrayObject.h"
#include "flash/script/Heap.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/ScriptRuntime.h"
#include "flash/scripting/SoundScripts.h"

namespace flash {

namespace {

constexpr size_t kMaxStreams = 64;
constexpr size_t kMaxPosted = 256;
// Mixer stream keys of NetStream sound: above every clip identity.
constexpr uint64_t kAudioKeyBase = uint64_t(1) << 62;

script::Value toValue(script::Interpreter& vm, const media::AmfValue& amf)
{
    using Type = media::AmfValue::Type;
    switch (amf.type) {
    case Type::Number:
    case Type::Date:
        return script::Value(amf.number);
    case Type::Boolean:
        return script::Value(amf.boolean);
    case Type::String:
        return script::Value(vm.makeString(amf.string));
    case Type::Null:
        return script::Value::null();
    case Type::Undefined:
        return {};
    case Type::Object:
    case Type::EcmaArray: {
        script::Object* object = amf.type == Type::Object ? vm.newObject() : static_cast<script::Object*>(vm.newArray());
        for (const auto& [name, member] : amf.members)
            vm.setMember(script::Value(object), name, toValue(vm, member));
        return script::Value(object);
    }
    case Type::StrictArray: {
        script::ArrayObject* array = vm.newArray();
        for (const media::AmfValue& element : amf.elements)
            array->push(toValue(vm, element));
        return script::Value(static_cast<script::Object*>(array));
    }
    }
    return {};
}

} // namespace

NetStreamScripts::NetStreamScripts(ScriptRuntime& runtime, SoundScripts& sounds)
    : m_runtime(runtime)
    , m_sounds(sounds)
{
    m_rootSource = runtime.vm().heap().addRootSource([this](script::Tracer& tracer) {
        for (const auto& [id, entry] : m_streams)
            tracer.mark(entry.object);
        for (const PostedStatus& posted : m_posted)
            tracer.mark(posted.object);
    });
}

NetStreamScripts::~NetStreamScripts()
{
    stopAll();
    m_runtime.vm().heap().removeRootSource(m_rootSource);
}

media::Mixer* NetStreamScripts::mixer() const
{
    return m_sounds.mixer();
}

uint64_t NetStreamScripts::audioKeyOf(uint32_t id)
{
    return kAudioKeyBase + id;
}

uint32_t NetStreamScripts::add(script::Object* object)
{
    if (m_streams.size() >= kMaxStreams) {
        for (auto it = m_streams.begin(); it != m_streams.end(); ++it) {
            if (!it->second.playback->isActive()) {
                it->second.playback->close(mixer());
                m_streams.erase(it);
                break;
            }
        }
    }
    const uint32_t id = m_nextId++;
    m_streams[id] = Entry{std::make_unique<media::FlvPlayback>(audioKeyOf(id)), object};
    return id;
}

media::FlvPlayback* NetStreamScripts::stream(uint32_t id)
{
    const auto it = m_streams.find(id);
    return it == m_streams.end() ? nullptr : it->second.playback.get();
}

void NetStreamScripts::play(uint32_t id, const std::string& name)
{
    media::FlvPlayback* playback = stream(id);
    if (!playback)
        return;
    const std::filesystem::path& folder = m_runtime.host().stage().folder();
    std::unique_ptr<media::FlvFile> file;
    if (const auto path = resolveLocalUrl(folder, name)) {
        file = media::FlvFile::open(*path);
        // Streams are often named without their extension.
        if (!file && path->extension().empty())
            file = media::FlvFile::open(std::filesystem::path(*path).concat(".flv"));
    }
    playback->play(std::move(file), mixer());
}

void NetStreamScripts::postStatus(script::Object* object, std::string code, std::string level)
{
    if (object && m_posted.size() < kMaxPosted)
        m_posted.push_back({object, std::move(code), std::move(level)});
}

void NetStreamScripts::tell(script::Object* object, const media::NetStreamEvent& event)
{
    script::Interpreter& vm = m_runtime.vm();
    if (event.handler == "onStatus") {
        script::Object* info = vm.newObject();
        vm.setMember(script::Value(info), "code", script::Value(vm.makeString(event.code)));
        vm.setMember(script::Value(info), "level", script::Value(vm.makeString(event.level)));
        const script::Value args[] = {script::Value(info)};
        vm.callMethod(script::Value(object), "onStatus", args);
        return;
    }
    std::vector<script::Value> args;
    args.reserve(event.args.size());
    for (const media::AmfValue& value : event.args)
        args.push_back(toValue(vm, value));
    vm.callMethod(script::Value(object), event.handler, args);
}

void NetStreamScripts::update(double nowMs)
{
    for (PostedStatus& posted : std::exchange(m_posted, {}))
        tell(posted.object, {"onStatus", std::move(posted.code), std::move(posted.level), {}});
    // A handler may make or close streams: walk a copy of the ids.
    std::vector<uint32_t> ids;
    for (const auto& [id, entry] : m_streams)
        ids.push_back(id);
    for (uint32_t id : ids) {
        media::FlvPlayback* playback = stream(id);
        if (!playback)
            continue;
        playback->update(nowMs, mixer());
        script::Object* object = m_streams[id].object;
        for (const media::NetStreamEvent& event : playback->takeEvents())
            tell(object, event);
    }
}

std::optional<double> NetStreamScripts::nextPictureDueMs() const
{
    std::optional<double> earliest;
    for (const auto& [id, entry] : m_streams) {
        if (const auto due = entry.playback->nextPictureDueMs(); due && (!earliest || *due < *earliest))
            earliest = due;
    }
    return earliest;
}

void NetStreamScripts::hold(bool held)
{
    for (auto& [id, entry] : m_streams) {
        if (held && entry.playback->isPlaying()) {
            entry.playback->pause(true, mixer());
            entry.held = true;
        } else if (!held && entry.held) {
            entry.playback->pause(false, mixer());
            entry.held = false;
        }
    }
}

void NetStreamScripts::stopAll()
{
    for (auto& [id, entry] : m_streams)
        entry.playback->close(mixer());
}

} // namespace flash
