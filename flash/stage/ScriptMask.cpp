// Both ends of a mask link are checked on every read, so a link whose other end
// left the stage, or was given to another object since, reads as none.
#include "flash/stage/ScriptMask.h"

namespace flash {

namespace {

DisplayObject* find(const DisplayObject& from, ObjectHandle handle)
{
    return handle.isNull() || !from.registry ? nullptr : from.registry->find(handle);
}

} // namespace

void setScriptMask(DisplayObject& object, DisplayObject* mask)
{
    if (DisplayObject* old = find(object, object.maskedBy); old && old->masking == handleOf(object))
        old->masking = {};
    object.maskedBy = {};
    if (!mask || mask == &object)
        return;
    if (DisplayObject* previous = find(*mask, mask->masking); previous && previous->maskedBy == handleOf(*mask))
        previous->maskedBy = {};
    mask->masking = handleOf(object);
    object.maskedBy = handleOf(*mask);
}

const DisplayObject* scriptMaskOf(const DisplayObject& object)
{
    const DisplayObject* mask = find(object, object.maskedBy);
    return mask && !mask->removed && mask->masking == handleOf(object) ? mask : nullptr;
}

bool isScriptMask(const DisplayObject& object)
{
    const DisplayObject* masked = find(object, object.masking);
    return masked && !masked->removed && masked->maskedBy == handleOf(object);
}

} // namespace flash
