// Shared objects on disk: where each one's file is, the .sol form it takes
// there (a small header, then the data's members as AMF0 values), and reading
// and writing those files so that nothing a file holds can harm the movie.
//
// Layout: <root>/localhost/<the scope's path>/<name>.sol, where the scope is the
// movie's own path (folders and file name) or the prefix of it a script asked
// for. A name may hold '/', which makes folders below the scope.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace flash::script {
class FunctionObject;
class Interpreter;
class Object;
}

namespace flash {

// What the shared objects of one scope folder may take together on disk.
inline constexpr size_t kSharedObjectAllowance = 100 * 1024;
// Larger files are not read, and data that would make one is not written.
inline constexpr size_t kMaxSharedObjectFile = 1024 * 1024;

// Whether a script may give this name: not empty, no space, control character
// or any of ~ % & \ ; : " ' , < > ? #, and between its slashes neither empty
// parts nor "." or "..".
[[nodiscard]] bool isAcceptedSharedObjectName(std::string_view name);

class SharedObjectStore {
public:
    // Files go under `root`; an empty root keeps every shared object in memory.
    explicit SharedObjectStore(std::filesystem::path root) : m_root(std::move(root)) { }

    // The user's place: the data folder (XDG_DATA_HOME) / velquorflash / shared-objects.
    [[nodiscard]] static std::filesystem::path userRoot();

    // The file of `name` for the movie at `moviePath`, scoped to `localPath` (the
    // movie's own path when absent): nullopt when refused, an empty path when
    // the object lives in memory only (a movie without a path, or no root).
    // A local path must start with '/' and be a prefix of the movie's path, part for part.
    [[nodiscard]] std::optional<std::filesystem::path> fileOf(const std::filesystem::path& moviePath,
                                                              std::string_view name,
                                                              std::optional<std::string_view> localPath) const;

    // The bytes of `file`; nothing when it is missing, unreadable or larger than the bound.
    [[nodiscard]] static std::optional<std::vector<uint8_t>> read(const std::filesystem::path& file);
    // Replaces `file` whole through a temporary file, so a crash never leaves half of one.
    static bool write(const std::filesystem::path& file, std::span<const uint8_t> bytes);
    static void remove(const std::filesystem::path& file);
    // What the other shared objects in `file`'s folder take (they share the allowance).
    [[nodiscard]] static size_t sizeBeside(const std::filesystem::path& file);

private:
    std::filesystem::path m_root;
};

// The runtime's Date, as the format reads and writes dates (null members: dates are stored as plain objects).
struct DateClass {
    script::FunctionObject* constructor = nullptr;
    script::Object* prototype = nullptr;
    script::FunctionObject* getTime = nullptr;
};

// The .sol form of `data`'s members: its own enumerable values, with nested
// objects and arrays, objects met twice written once (cycles included). Functions
// and clips are left out. Empty when there is nothing to store; nullopt when the
// data cannot be stored (deeper than the format's nesting bound, or larger than a file may be).
[[nodiscard]] std::optional<std::vector<uint8_t>> encodeSharedObject(script::Interpreter& vm, std::string_view name,
                                                                      script::Object& data, const DateClass& dates);

// A new data object with the members `bytes` hold; null when they are not a
// whole, well-formed .sol of AMF0 values (the caller then starts empty).
[[nodiscard]] script::Object* decodeSharedObject(script::Interpreter& vm, std::span<const uint8_t> bytes,
                                                 const DateClass& dates);

} // namespace flash
