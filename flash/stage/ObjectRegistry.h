// Finds live display objects by identity, so that references held by scripts
// and queued work never dangle: an object that is gone is simply not found.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>

namespace flash {

struct DisplayObject;

// A reference to a display object that survives its removal: it then resolves to nothing.
struct ObjectHandle {
    uint64_t id = 0;
    [[nodiscard]] bool isNull() const { return id == 0; }
    friend bool operator==(ObjectHandle, ObjectHandle) = default;
};

class ObjectRegistry {
public:
    ObjectRegistry() = default;
    ObjectRegistry(const ObjectRegistry&) = delete;
    ObjectRegistry& operator=(const ObjectRegistry&) = delete;
    ~ObjectRegistry();

    // Gives `object` its identity; it leaves the registry when it is destroyed.
    void enroll(DisplayObject& object);
    void forget(uint64_t id);
    [[nodiscard]] DisplayObject* find(ObjectHandle handle) const;
    [[nodiscard]] size_t size() const { return m_objects.size(); }

    // Told the identity of every object as it is destroyed (script objects tied to it let go).
    void setForgetObserver(std::function<void(uint64_t)> observer) { m_onForget = std::move(observer); }

private:
    std::unordered_map<uint64_t, DisplayObject*> m_objects;
    uint64_t m_nextId = 1;
    std::function<void(uint64_t)> m_onForget;
};

[[nodiscard]] ObjectHandle handleOf(const DisplayObject& object);

} // namespace flash
