// What the String, Number and Boolean wrappers share: the primitive behind `this`.
#pragma once

#include "flash/script/BoxedObject.h"
#include "flash/script/CallContext.h"

namespace flash::script {

// The primitive of a wrapper `this`, or `this` itself when it is already that primitive.
inline Value primitiveOfThis(CallContext& c, ValueType type)
{
    if (c.thisValue.type() == type)
        return c.thisValue;
    Object* self = c.thisObject();
    if (self && self->kind() == ObjectKind::Boxed) {
        const Value& inner = static_cast<BoxedObject*>(self)->primitive();
        if (inner.type() == type)
            return inner;
    }
    return Value();
}

} // namespace flash::script
