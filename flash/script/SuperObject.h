// `super` inside a method: lookups start above the prototype the method was
// found on, and calls keep the caller's `this`.
#pragma once

#include "flash/script/Object.h"

namespace flash::script {

class SuperObject : public Object {
public:
    // `home` is the prototype holding the running method (the constructor's prototype in a constructor).
    SuperObject(Object* thisObject, Object* home)
        : Object(home ? home->proto() : nullptr, ObjectKind::Super), m_this(thisObject), m_home(home) { }

    [[nodiscard]] Object* thisObject() const { return m_this; }
    [[nodiscard]] Object* home() const { return m_home; }

    void traceChildren(Tracer& tracer) override;

private:
    Object* m_this;
    Object* m_home;
};

} // namespace flash::script
