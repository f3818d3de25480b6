// Looks for a member through an object's own table and its prototype chain
// without running anything: no getter, no __resolve. Input asks on every
// pointer move which clips have handlers, and that must not run scripts.
#pragma once

#include "flash/script/Object.h"

#include <string_view>

namespace flash {

// `name` is best made once and kept: its hash is cached with it.
[[nodiscard]] inline const script::Value* findQuietly(const script::Object* object, const script::String& name,
                                                      script::CaseMode mode)
{
    constexpr int kMaxChain = 64;
    for (int i = 0; object && i < kMaxChain; ++i, object = object->proto()) {
        if (const script::Property* p = object->properties().find(name, mode))
            return p->isAccessor() ? nullptr : &p->value;
    }
    return nullptr;
}

[[nodiscard]] inline bool hasFunctionQuietly(const script::Object* object, const script::String& name,
                                             script::CaseMode mode)
{
    const script::Value* v = findQuietly(object, name, mode);
    return v && v->isObject() && v->asObject()->isFunction();
}

} // namespace flash
