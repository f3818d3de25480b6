// An object's own properties in insertion order, with a hash index once it grows.
#pragma once

#include "flash/script/Value.h"

#include <cstdint>
#include <vector>

namespace flash::script {

// Flags as ASSetPropFlags sets them (the low three bits), plus what the table needs itself.
namespace PropertyFlag {
inline constexpr uint8_t DontEnum = 1;
inline constexpr uint8_t DontDelete = 2;
inline constexpr uint8_t ReadOnly = 4;
inline constexpr uint8_t ScriptMask = 7;
}

struct Property {
    String name;
    Value value;
    Object* getter = nullptr; // set by addProperty: reads and writes call these instead
    Object* setter = nullptr;
    uint8_t flags = 0;

    [[nodiscard]] bool isAccessor() const { return getter != nullptr; }
    [[nodiscard]] bool isEnumerable() const { return !(flags & PropertyFlag::DontEnum); }
};

class PropertyMap {
public:
    [[nodiscard]] Property* find(const String& name, CaseMode mode);
    [[nodiscard]] const Property* find(const String& name, CaseMode mode) const;
    // Adds a property that must not exist yet.
    Property& add(String name, Value value, uint8_t flags = 0);
    // Sets or adds a plain data property, ignoring flags (for installing builtins).
    void put(const String& name, Value value, uint8_t flags, CaseMode mode = CaseMode::Sensitive);
    bool remove(const String& name, CaseMode mode);

    [[nodiscard]] size_t size() const { return m_slots.size(); }
    // Oldest first.
    [[nodiscard]] const std::vector<Property>& slots() const { return m_slots; }
    [[nodiscard]] std::vector<Property>& slots() { return m_slots; }

private:
    static constexpr size_t kIndexFrom = 8;

    [[nodiscard]] int64_t locate(const String& name, CaseMode mode) const;
    void rebuildIndex();
    void indexSlot(uint32_t slot);

    std::vector<Property> m_slots;
    std::vector<int32_t> m_index; // open addressing on the folded hash; -1 is empty
};

} // namespace flash::script
