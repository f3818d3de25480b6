// Movies, pictures and variables a movie's scripts load from its folder
// (loadMovie, loadMovieNum, MovieClipLoader, loadVariables, and unloading).
// A request is carried out at the end of the tick that made it, as the
// runtime's loads finish after the script that asked; a MovieClipLoader hears
// onLoadStart, onLoadProgress, onLoadComplete and, once the loaded movie's
// first frame has run, onLoadInit, or onLoadError.
#pragma once

#include "flash/model/Movie.h"
#include "flash/script/Value.h"
#include "flash/stage/ObjectRegistry.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace flash::script {
class Object;
}

namespace flash {

class ScriptRuntime;
struct DisplayObject;

class MovieLoads {
public:
    // A local file as a movie: a SWF, or a JPEG, PNG or GIF picture shown as a
    // one-frame movie; null when it is neither.
    using MovieSource = std::function<std::shared_ptr<const Movie>(const std::filesystem::path&)>;

    explicit MovieLoads(ScriptRuntime& runtime);
    ~MovieLoads();
    MovieLoads(const MovieLoads&) = delete;
    MovieLoads& operator=(const MovieLoads&) = delete;

    void setSource(MovieSource source) { m_source = std::move(source); }

    // Where a load goes: a clip, or a level by number.
    struct Target {
        ObjectHandle clip;
        std::optional<int> level;
    };
    // The target a script names: a clip, a path ("_level2", "holder.inner") or a level number.
    [[nodiscard]] std::optional<Target> targetOf(const script::Object* from, const script::Value& named);

    // A movie or picture into `target` (an empty url unloads it), told to `loader` if given.
    void loadMovie(const Target& target, std::string url, script::Object* loader = nullptr);
    void loadVariables(const Target& target, std::string url);
    // Bytes loaded and in all of the last load into a clip.
    [[nodiscard]] std::optional<uint64_t> bytesOf(const Target& target) const;

    // Carries out what was asked since the last call, and tells loaders what happened.
    void process();

private:
    enum class Kind : uint8_t { Movie, Variables };
    struct Request {
        Kind kind = Kind::Movie;
        Target target;
        std::string url;
        script::Object* loader = nullptr;
    };
    struct Initializing {
        script::Object* loader = nullptr;
        Target target;
    };
    void loadMovieNow(const Request& request);
    void loadVariablesNow(const Request& request);
    [[nodiscard]] DisplayObject* targetObject(const Target& target);
    [[nodiscard]] script::Value targetValue(const Target& target);
    void tell(script::Object* loader, const char* event, std::initializer_list<script::Value> args);

    ScriptRuntime& m_runtime;
    MovieSource m_source;
    std::vector<Request> m_requests;
    std::vector<Initializing> m_initializing; // loaded this tick: onLoadInit at the next
    std::map<uint64_t, uint64_t> m_bytes;     // by clip identity (levels by their root's)
    uint32_t m_rootSource = 0;
};

} // namespace flash
