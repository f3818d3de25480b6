// Tracing and sizes of the object kinds.
#include "flash/script/ArrayObject.h"
#include "flash/script/BoxedObject.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Heap.h"
#include "flash/script/HostObject.h"
#include "flash/script/SuperObject.h"

namespace flash::script {

void Object::traceChildren(Tracer& tracer)
{
    tracer.mark(m_proto);
    for (const Property& p : m_properties.slots()) {
        tracer.mark(p.value);
        tracer.mark(p.getter);
        tracer.mark(p.setter);
    }
    for (const Watch& w : m_watches) {
        tracer.mark(w.callback);
        tracer.mark(w.userData);
    }
    for (Object* i : m_interfaces)
        tracer.mark(i);
}

size_t Object::byteSize() const
{
    return sizeof(Object) + m_properties.size() * (sizeof(Property) + 8) + m_watches.size() * sizeof(Watch);
}

void FunctionObject::traceChildren(Tracer& tracer)
{
    Object::traceChildren(tracer);
    tracer.mark(m_data);
    for (Object* o : m_scope)
        tracer.mark(o);
}

size_t FunctionObject::byteSize() const
{
    return Object::byteSize() + sizeof(FunctionObject) - sizeof(Object) + m_scope.size() * sizeof(Object*);
}

void SuperObject::traceChildren(Tracer& tracer)
{
    Object::traceChildren(tracer);
    tracer.mark(m_this);
    tracer.mark(m_home);
}

std::optional<Value> HostObject::getSpecial(Interpreter& vm, const String& name)
{
    return m_delegate ? m_delegate->get(vm, *this, name) : std::nullopt;
}

Claim HostObject::setSpecial(Interpreter& vm, const String& name, const Value& value)
{
    return m_delegate ? m_delegate->set(vm, *this, name, value) : Claim::NotMine;
}

bool HostObject::hasSpecial(Interpreter& vm, const String& name)
{
    return m_delegate && m_delegate->has(vm, *this, name);
}

bool HostObject::deleteSpecial(Interpreter& vm, const String& name, bool& deleted)
{
    return m_delegate && m_delegate->remove(vm, *this, name, deleted);
}

void HostObject::enumerateSpecial(Interpreter& vm, std::vector<String>& names)
{
    if (m_delegate)
        m_delegate->enumerate(vm, *this, names);
}

void HostObject::traceChildren(Tracer& tracer)
{
    Object::traceChildren(tracer);
    if (m_delegate)
        m_delegate->trace(tracer);
}

} // namespace flash::script
