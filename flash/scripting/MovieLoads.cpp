// Requests wait in order; every one is carried out at the next process(), and a
// movie that asks for more loads from its handlers has them carried out at the
// process() after. Loaders and the objects they are told about are roots of
// the heap while they wait.
#include "flash/scripting/MovieLoads.h"

#include "flash/io/LocalUrl.h"
#include "flash/script/Heap.h"
#include "flash/script/Interpreter.h"
#include "flash/script/builtins/UrlVariables.h"
#include "flash/scripting/ClipEventFlags.h"
#include "flash/scripting/ScriptRuntime.h"

#include <system_error>

namespace flash {

namespace {

constexpr size_t kMaxRequests = 256;     // waiting at once; a movie asking for more loses the surplus
constexpr int kMaxLevel = 1'000'000;

std::optional<int> levelNamed(std::string_view path)
{
    constexpr std::string_view prefix = "_level";
    if (path.size() <= prefix.size() || path.size() > prefix.size() + 7 || !path.starts_with(prefix))
        return std::nullopt;
    int number = 0;
    for (char c : path.substr(prefix.size())) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

} // namespace

MovieLoads::MovieLoads(ScriptRuntime& runtime)
    : m_runtime(runtime)
{
    m_rootSource = runtime.vm().heap().addRootSource([this](script::Tracer& tracer) {
        for (const Request& request : m_requests)
            tracer.mark(request.loader);
        for (const Initializing& waiting : m_initializing)
            tracer.mark(waiting.loader);
    });
}

MovieLoads::~MovieLoads()
{
    m_runtime.vm().heap().removeRootSource(m_rootSource);
}

std::optional<MovieLoads::Target> MovieLoads::targetOf(const script::Object* from, const script::Value& named)
{
    StageHost& host = m_runtime.host();
    if (named.isNumber()) {
        const double number = named.asNumber();
        if (!(number >= 0 && number <= kMaxLevel))
            return std::nullopt;
        return Target{{}, int(number)};
    }
    if (DisplayObject* object = host.displayObjectOf(named))
        return object->clip ? std::optional(Target{handleOf(*object), std::nullopt}) : std::nullopt;
    const std::string path = m_runtime.vm().toString(named).toStd();
    if (const auto level = levelNamed(path))
        return Target{{}, *level};
    script::Object* found = host.resolveTarget(const_cast<script::Object*>(from), path);
    DisplayObject* object = found ? host.displayObjectOf(found) : nullptr;
    if (!object || !object->clip)
        return std::nullopt;
    if (const auto level = host.stage().levelNumberOf(*object))
        return Target{{}, *level};
    return Target{handleOf(*object), std::nullopt};
}

void MovieLoads::loadMovie(const Target& target, std::string url, script::Object* loader)
{
    if (m_requests.size() < kMaxRequests)
        m_requests.push_back({Kind::Movie, target, std::move(url), loader});
}

void MovieLoads::loadVariables(const Target& target, std::string url)
{
    if (m_requests.size() < kMaxRequests)
        m_requests.push_back({Kind::Variables, target, std::move(url), nullptr});
}

std::optional<uint64_t> MovieLoads::bytesOf(const Target& target) const
{
    const DisplayObject* object = const_cast<MovieLoads*>(this)->targetObject(target);
    if (!object)
        return std::nullopt;
    const auto it = m_bytes.find(object->id);
    return it == m_bytes.end() ? std::nullopt : std::optional(it->second);
}

DisplayObject* MovieLoads::targetObject(const Target& target)
{
    Stage& stage = m_runtime.host().stage();
    return target.level ? stage.level(*target.level) : stage.find(target.clip);
}

script::Value MovieLoads::targetValue(const Target& target)
{
    DisplayObject* object = targetObject(target);
    return object ? script::Value(m_runtime.host().objectFor(*object)) : script::Value();
}

void MovieLoads::tell(script::Object* loader, const char* event, std::initializer_list<script::Value> args)
{
    if (!loader)
        return;
    std::vector<script::Value> message{script::Value(m_runtime.vm().makeString(event))};
    message.insert(message.end(), args.begin(), args.end());
    m_runtime.vm().callMethod(script::Value(loader), "broadcastMessage", message);
}

void MovieLoads::process()
{
    // The movies loaded at the last call have run their first frame since.
    for (const Initializing& waiting : std::exchange(m_initializing, {}))
        tell(waiting.loader, "onLoadInit", {targetValue(waiting.target)});
    for (const Request& request : std::exchange(m_requests, {})) {
        if (request.kind == Kind::Movie)
            loadMovieNow(request);
        else
            loadVariablesNow(request);
    }
}

void MovieLoads::loadMovieNow(const Request& request)
{
    StageHost& host = m_runtime.host();
    Stage& stage = host.stage();
    if (request.url.empty()) {
        // Unloading: the clip stays, empty; a level goes.
        if (request.target.level)
            stage.unloadLevel(*request.target.level);
        else if (DisplayObject* clip = targetObject(request.target))
            stage.loadInto(*clip, nullptr);
        return;
    }
    const auto path = resolveLocalUrl(stage.folder(), request.url);
    std::shared_ptr<const Movie> movie = path && m_source ? m_source(*path) : nullptr;
    if (!movie) {
        // A file that is not there, or may not be read, never starts loading;
        // there is no server to give a status, which the runtime reports as 0.
        tell(request.loader, "onLoadError",
             {targetValue(request.target), script::Value(m_runtime.vm().makeString("URLNotFound")), script::Value(0)});
        return;
    }
    if (request.target.level || targetObject(request.target))
        tell(request.loader, "onLoadStart", {targetValue(request.target)});
    std::error_code error;
    const uint64_t bytes = std::filesystem::file_size(*path, error);
    if (request.target.level) {
        stage.loadLevel(*request.target.level, movie, fileUrlOf(*path));
    } else if (DisplayObject* clip = targetObject(request.target)) {
        // The clip's own variables and handlers go with what it showed.
        if (script::Object* object = host.existingObjectFor(*clip)) {
            std::vector<script::String> names;
            for (const script::Property& property : object->properties().slots())
                names.push_back(property.name);
            for (const script::String& name : names)
                object->properties().remove(name, script::CaseMode::Sensitive);
        }
        stage.loadInto(*clip, movie, fileUrlOf(*path));
    } else {
        return; // the target left the stage before its movie came
    }
    if (DisplayObject* loaded = targetObject(request.target)) {
        m_bytes[loaded->id] = bytes;
        const script::Value target = targetValue(request.target);
        tell(request.loader, "onLoadProgress", {target, script::Value(double(bytes)), script::Value(double(bytes))});
        tell(request.loader, "onLoadComplete", {target, script::Value(0)});
        if (request.loader)
            m_initializing.push_back({request.loader, request.target});
    }
}

void MovieLoads::loadVariablesNow(const Request& request)
{
    StageHost& host = m_runtime.host();
    DisplayObject* clip = targetObject(request.target);
    if (!clip && request.target.level) {
        // Variables loaded into an empty level make it, as an empty movie.
        host.stage().loadLevel(*request.target.level, std::make_shared<const Movie>());
        clip = targetObject(request.target);
    }
    const std::optional<std::string> text = host.readLocalFile(request.url);
    if (!clip || !text)
        return;
    script::Object* object = host.objectFor(*clip);
    if (!object)
        return;
    script::Interpreter& vm = m_runtime.vm();
    for (const auto& [name, value] : script::decodeUrlVariables(*text))
        vm.setMember(script::Value(object), name, script::Value(vm.makeString(value)));
    const ObjectHandle handle = handleOf(*clip);
    m_runtime.runClipActions(handle, ClipEventFlag::Data);
    m_runtime.callHandler(handle, "onData");
}

} // namespace flash
