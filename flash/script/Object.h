// A script object: a prototype link, an ordered property table, and hooks that
// kinds with storage of their own (arrays, host-backed objects) answer first.
#pragma once

#include "flash/script/PropertyMap.h"

#include <optional>
#include <vector>

namespace flash::script {

class Interpreter;
class Tracer;

enum class ObjectKind : uint8_t { Plain, Function, Array, Boxed, Error, Host, Super };

// Answer of a kind's own storage to a write: taken, or left to the property table.
enum class Claim : uint8_t { NotMine, Taken };

struct Watch {
    String name;
    Object* callback = nullptr;
    Value userData;
};

class Object {
public:
    explicit Object(Object* proto = nullptr, ObjectKind kind = ObjectKind::Plain) : m_proto(proto), m_kind(kind) { }
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    [[nodiscard]] ObjectKind kind() const { return m_kind; }
    [[nodiscard]] bool isFunction() const { return m_kind == ObjectKind::Function; }
    [[nodiscard]] Object* proto() const { return m_proto; }
    void setProto(Object* proto) { m_proto = proto; }
    [[nodiscard]] PropertyMap& properties() { return m_properties; }
    [[nodiscard]] const PropertyMap& properties() const { return m_properties; }

    // Own storage outside the table, consulted before it. Not found: nullopt / NotMine / false.
    [[nodiscard]] virtual std::optional<Value> getSpecial(Interpreter&, const String&) { return std::nullopt; }
    virtual Claim setSpecial(Interpreter&, const String&, const Value&) { return Claim::NotMine; }
    [[nodiscard]] virtual bool hasSpecial(Interpreter&, const String&) { return false; }
    // True when the name was the kind's own and is gone (or refused: `deleted` says which).
    virtual bool deleteSpecial(Interpreter&, const String&, bool& deleted) { (void)deleted; return false; }
    // Appends the kind's own enumerable names, oldest first.
    virtual void enumerateSpecial(Interpreter&, std::vector<String>&) { }

    // Watches set by watch(); empty for nearly every object.
    [[nodiscard]] std::vector<Watch>& watches() { return m_watches; }
    // Interfaces an ImplementsOp gave this (constructor's prototype) object.
    [[nodiscard]] std::vector<Object*>& interfaces() { return m_interfaces; }

    // The objects and values this one keeps alive.
    virtual void traceChildren(Tracer& tracer);
    // Rough size for the heap's byte count.
    [[nodiscard]] virtual size_t byteSize() const;

    // Collector state; only the heap touches it.
    bool m_marked = false;

private:
    Object* m_proto;
    ObjectKind m_kind;
    PropertyMap m_properties;
    std::vector<Watch> m_watches;
    std::vector<Object*> m_interfaces;
};

} // namespace flash::script
