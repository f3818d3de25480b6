// A function object: native (a C++ function and a value of its own) or script
// (code, the scope chain it closed over and the constant pool it was defined under).
#pragma once

#include "flash/script/CallContext.h"
#include "flash/script/Object.h"
#include "flash/script/ScriptCode.h"

#include <memory>
#include <vector>

namespace flash::script {

class FunctionObject : public Object {
public:
    FunctionObject(Object* proto, NativeFunction native, Value data = {})
        : Object(proto, ObjectKind::Function), m_native(native), m_data(std::move(data)) { }
    FunctionObject(Object* proto, std::shared_ptr<const ScriptCode> code, std::vector<Object*> scope,
                   std::shared_ptr<const ConstantPool> pool)
        : Object(proto, ObjectKind::Function), m_code(std::move(code)), m_scope(std::move(scope)), m_pool(std::move(pool)) { }

    [[nodiscard]] bool isNative() const { return m_native != nullptr; }
    [[nodiscard]] NativeFunction native() const { return m_native; }
    [[nodiscard]] const Value& data() const { return m_data; }
    [[nodiscard]] const ScriptCode* code() const { return m_code.get(); }
    [[nodiscard]] const std::vector<Object*>& scope() const { return m_scope; }
    [[nodiscard]] const std::shared_ptr<const ConstantPool>& pool() const { return m_pool; }
    [[nodiscard]] InstanceAllocator allocator() const { return m_allocator; }
    void setAllocator(InstanceAllocator allocator) { m_allocator = allocator; }

    void traceChildren(Tracer& tracer) override;
    [[nodiscard]] size_t byteSize() const override;

private:
    NativeFunction m_native = nullptr;
    Value m_data;
    std::shared_ptr<const ScriptCode> m_code;
    std::vector<Object*> m_scope;
    std::shared_ptr<const ConstantPool> m_pool;
    InstanceAllocator m_allocator = nullptr;
};

} // namespace flash::script
