// A wrapper around a primitive: what new String, new Number and new Boolean
// make, and what "abc".length reads through.
#pragma once

#include "flash/script/Object.h"

namespace flash::script {

class BoxedObject : public Object {
public:
    BoxedObject(Object* proto, Value primitive) : Object(proto, ObjectKind::Boxed), m_primitive(std::move(primitive)) { }

    [[nodiscard]] const Value& primitive() const { return m_primitive; }
    void setPrimitive(Value primitive) { m_primitive = std::move(primitive); }

    // Strings answer `length` (in characters for SWF 6+, bytes before).
    std::optional<Value> getSpecial(Interpreter& vm, const String& name) override;

private:
    Value m_primitive;
};

} // namespace flash::script
