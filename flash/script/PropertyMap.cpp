// Property lookup: a linear scan while small, an open-addressed index on the
// case-folded hash once larger, so both case modes share one index.
#include "flash/script/PropertyMap.h"

namespace flash::script {

int64_t PropertyMap::locate(const String& name, CaseMode mode) const
{
    if (m_index.empty()) {
        for (size_t i = 0; i < m_slots.size(); ++i) {
            if (m_slots[i].name.equals(name, mode))
                return int64_t(i);
        }
        return -1;
    }
    const size_t mask = m_index.size() - 1;
    size_t at = name.foldedHash() & mask;
    for (size_t probes = 0; probes < m_index.size(); ++probes) {
        const int32_t slot = m_index[at];
        if (slot < 0)
            return -1;
        if (m_slots[size_t(slot)].name.equals(name, mode))
            return slot;
        at = (at + 1) & mask;
    }
    return -1;
}

Property* PropertyMap::find(const String& name, CaseMode mode)
{
    const int64_t at = locate(name, mode);
    return at < 0 ? nullptr : &m_slots[size_t(at)];
}

const Property* PropertyMap::find(const String& name, CaseMode mode) const
{
    const int64_t at = locate(name, mode);
    return at < 0 ? nullptr : &m_slots[size_t(at)];
}

Property& PropertyMap::add(String name, Value value, uint8_t flags)
{
    m_slots.push_back(Property { std::move(name), std::move(value), nullptr, nullptr, flags });
    if (m_slots.size() >= kIndexFrom) {
        if (m_index.size() < m_slots.size() * 2)
            rebuildIndex();
        else
            indexSlot(uint32_t(m_slots.size() - 1));
    }
    return m_slots.back();
}

void PropertyMap::put(const String& name, Value value, uint8_t flags, CaseMode mode)
{
    if (Property* existing = find(name, mode)) {
        existing->value = std::move(value);
        existing->getter = existing->setter = nullptr;
        existing->flags = flags;
        return;
    }
    add(name, std::move(value), flags);
}

bool PropertyMap::remove(const String& name, CaseMode mode)
{
    const int64_t at = locate(name, mode);
    if (at < 0)
        return false;
    m_slots.erase(m_slots.begin() + at);
    if (!m_index.empty())
        rebuildIndex();
    return true;
}

void PropertyMap::rebuildIndex()
{
    size_t capacity = 16;
    while (capacity < m_slots.size() * 4)
        capacity *= 2;
    m_index.assign(capacity, -1);
    for (size_t i = 0; i < m_slots.size(); ++i)
        indexSlot(uint32_t(i));
}

void PropertyMap::indexSlot(uint32_t slot)
{
    const size_t mask = m_index.size() - 1;
    size_t at = m_slots[slot].name.foldedHash() & mask;
    while (m_index[at] >= 0)
        at = (at + 1) & mask;
    m_index[at] = int32_t(slot);
}

} // namespace flash::script
