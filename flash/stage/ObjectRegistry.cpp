// Identity of display objects: enrolment on creation, removal on destruction.
#include "flash/stage/ObjectRegistry.h"

#include "flash/stage/DisplayList.h"

namespace flash {

DisplayObject::~DisplayObject()
{
    // Children go first, so that the registry hears of every object in the subtree.
    clip.reset();
    buttonChildren.reset();
    if (registry && id != 0)
        registry->forget(id);
}

ObjectRegistry::~ObjectRegistry()
{
    // Objects that outlive the registry must not call back into it.
    for (auto& [id, object] : m_objects)
        object->registry = nullptr;
}

void ObjectRegistry::enroll(DisplayObject& object)
{
    if (object.registry == this)
        return;
    object.id = m_nextId++;
    object.registry = this;
    m_objects[object.id] = &object;
}

void ObjectRegistry::forget(uint64_t id)
{
    if (m_objects.erase(id) && m_onForget)
        m_onForget(id);
}

DisplayObject* ObjectRegistry::find(ObjectHandle handle) const
{
    const auto it = m_objects.find(handle.id);
    return it == m_objects.end() ? nullptr : it->second;
}

ObjectHandle handleOf(const DisplayObject& object)
{
    return ObjectHandle{object.id};
}

} // namespace flash
