// SharedObject: getLocal(name[, localPath]) hands out one object per name and
// scope for the session, its data read from the movie's store on first use;
// flush() writes it now, getSize() measures its stored form, clear() empties it
// and removes its file, and what every object holds is written once more as the
// movie unloads. A movie loaded from memory has no path: its objects live in
// memory only and nothing is written.
//
// flush answers true or false, never "pending": this player asks the user
// nothing, so space past the allowance is refused at once and onStatus, which
// would tell the user's answer, is never called.
#pragma once

#include "flash/scripting/SharedObjectStore.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace flash::script {
class Interpreter;
class Object;
}

namespace flash {

class SharedObjects {
public:
    // Installs SharedObject on `vm`, a live stage's interpreter, over any stand-in;
    // files go under `root`. This must be destroyed before the interpreter.
    explicit SharedObjects(script::Interpreter& vm, std::filesystem::path root = SharedObjectStore::userRoot());
    // Writes what the objects hold (flushAll), then lets go of the interpreter.
    ~SharedObjects();
    SharedObjects(const SharedObjects&) = delete;
    SharedObjects& operator=(const SharedObjects&) = delete;

    // Writes every object whose data changed since it was read or written, where it
    // fits the allowance (the others keep their files as they were).
    void flushAll();

    // What the natives do; they reach this object through the link their data holds.
    // The object for `name` of the movie at `moviePath`; null when the name or path is refused.
    [[nodiscard]] script::Object* getLocal(const std::filesystem::path& moviePath, const std::string& name,
                                           const std::optional<std::string>& localPath);
    // Writes `object`'s data now, asking for at least `minDiskSpace` bytes; false when refused or failed.
    bool flush(script::Object& object, double minDiskSpace);
    // Bytes of `object`'s stored form; 0 for an empty one or an object getLocal did not make.
    [[nodiscard]] size_t sizeOf(script::Object& object);
    // Empties the data of an object getLocal made and removes its file.
    void clear(script::Object& object);

private:
    struct Entry {
        std::string name;
        std::filesystem::path file;  // empty: kept in memory only
        std::vector<uint8_t> stored; // the form last read or written, so unchanged data is not rewritten
    };

    [[nodiscard]] script::Object* dataOf(script::Object& object) const;
    [[nodiscard]] std::optional<std::vector<uint8_t>> encode(script::Object& object, const Entry& entry);
    bool store(Entry& entry, std::vector<uint8_t> bytes, double minDiskSpace);

    script::Interpreter& m_vm;
    SharedObjectStore m_store;
    DateClass m_dates;
    script::Object* m_prototype = nullptr;
    script::Object* m_link = nullptr; // what the natives carry to reach this; emptied as this goes
    uint32_t m_rootSource = 0;
    std::unordered_map<std::string, script::Object*> m_byPlace; // by file, or by name and path in memory
    std::unordered_map<script::Object*, Entry> m_entries;
};

} // namespace flash
