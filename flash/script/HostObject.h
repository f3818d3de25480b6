// An object whose properties a C++ delegate provides before the ordinary table:
// the script side of movie clips, text fields and the like.
#pragma once

#include "flash/script/Object.h"

#include <memory>
#include <optional>
#include <string>

namespace flash::script {

// Every answer may be "not mine" (nullopt, NotMine, false), and the object's
// ordinary property table answers instead.
class HostDelegate {
public:
    virtual ~HostDelegate() = default;
    [[nodiscard]] virtual std::optional<Value> get(Interpreter& vm, Object& self, const String& name) = 0;
    virtual Claim set(Interpreter& vm, Object& self, const String& name, const Value& value) = 0;
    [[nodiscard]] virtual bool has(Interpreter& vm, Object& self, const String& name) { return get(vm, self, name).has_value(); }
    // True when the name was the host's; `deleted` says whether it went.
    virtual bool remove(Interpreter&, Object&, const String&, bool& deleted) { (void)deleted; return false; }
    // Appends the host's enumerable names, oldest first.
    virtual void enumerate(Interpreter&, Object&, std::vector<String>&) { }
    // Script objects the delegate itself keeps alive.
    virtual void trace(Tracer&) { }
};

class HostObject : public Object {
public:
    HostObject(Object* proto, std::unique_ptr<HostDelegate> delegate)
        : Object(proto, ObjectKind::Host), m_delegate(std::move(delegate)) { }

    [[nodiscard]] HostDelegate* delegate() const { return m_delegate.get(); }
    // Called when the thing behind the object is gone: from then on it is an ordinary object.
    void detach() { m_delegate.reset(); }

    std::optional<Value> getSpecial(Interpreter& vm, const String& name) override;
    Claim setSpecial(Interpreter& vm, const String& name, const Value& value) override;
    bool hasSpecial(Interpreter& vm, const String& name) override;
    bool deleteSpecial(Interpreter& vm, const String& name, bool& deleted) override;
    void enumerateSpecial(Interpreter& vm, std::vector<String>& names) override;
    void traceChildren(Tracer& tracer) override;

private:
    std::unique_ptr<HostDelegate> m_delegate;
};

} // namespace flash::script
