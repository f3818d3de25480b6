// Array storage: dense elements, `length`, and indices as property names.
#include "flash/script/ArrayObject.h"

#include "flash/script/Conversions.h"
#include "flash/script/Heap.h"
#include "flash/script/Interpreter.h"

#include <charconv>
#include <cmath>
#include <string>

namespace flash::script {

std::optional<uint32_t> ArrayObject::indexOf(std::string_view name)
{
    if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0'))
        return std::nullopt;
    uint64_t value = 0;
    for (char c : name) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + uint64_t(c - '0');
    }
    if (value >= 0xFFFFFFFFu)
        return std::nullopt;
    return uint32_t(value);
}

void ArrayObject::setLength(uint32_t length)
{
    if (length < m_elements.size())
        m_elements.resize(length);
    if (length < m_length) {
        // Far-off elements kept in the table go too.
        auto& slots = properties().slots();
        std::vector<String> doomed;
        for (const Property& p : slots) {
            if (auto index = indexOf(p.name.view()); index && *index >= length)
                doomed.push_back(p.name);
        }
        for (const String& name : doomed)
            properties().remove(name, CaseMode::Sensitive);
    }
    m_length = length;
}

Value ArrayObject::at(uint32_t index) const
{
    if (index < m_elements.size())
        return m_elements[index];
    if (index >= m_length || properties().size() == 0)
        return Value();
    const Property* p = properties().find(String(std::to_string(index)), CaseMode::Sensitive);
    return p ? p->value : Value();
}

void ArrayObject::set(uint32_t index, Value value)
{
    if (index < m_elements.size()) {
        m_elements[index] = std::move(value);
        return;
    }
    if (index - m_elements.size() <= kMaxDenseGap) {
        m_elements.resize(size_t(index) + 1);
        m_elements[index] = std::move(value);
    } else {
        properties().put(String(std::to_string(index)), std::move(value), 0);
    }
    if (index >= m_length)
        m_length = index + 1;
}

std::optional<Value> ArrayObject::getSpecial(Interpreter& vm, const String& name)
{
    if (name.sameBuffer(vm.names().length) || name.equals(vm.names().length, vm.caseMode()))
        return Value(double(m_length));
    if (auto index = indexOf(name.view()); index && *index < m_elements.size())
        return m_elements[*index];
    return std::nullopt;
}

Claim ArrayObject::setSpecial(Interpreter& vm, const String& name, const Value& value)
{
    if (name.equals(vm.names().length, vm.caseMode())) {
        const double n = vm.toNumber(value);
        if (std::isfinite(n) && n >= 0 && n < 4294967296.0)
            setLength(uint32_t(n));
        return Claim::Taken;
    }
    if (auto index = indexOf(name.view())) {
        if (*index < m_elements.size() || *index - m_elements.size() <= kMaxDenseGap) {
            const size_t before = m_elements.capacity();
            set(*index, value);
            if (m_elements.capacity() > before)
                vm.heap().account((m_elements.capacity() - before) * sizeof(Value));
            return Claim::Taken;
        }
        if (*index >= m_length)
            m_length = *index + 1;
    }
    return Claim::NotMine;
}

bool ArrayObject::hasSpecial(Interpreter& vm, const String& name)
{
    if (name.equals(vm.names().length, vm.caseMode()))
        return true;
    auto index = indexOf(name.view());
    return index && *index < m_elements.size();
}

bool ArrayObject::deleteSpecial(Interpreter&, const String& name, bool& deleted)
{
    auto index = indexOf(name.view());
    if (!index || *index >= m_elements.size())
        return false;
    m_elements[*index] = Value();
    deleted = true;
    return true;
}

void ArrayObject::enumerateSpecial(Interpreter&, std::vector<String>& names)
{
    for (size_t i = 0; i < m_elements.size(); ++i)
        names.push_back(String(std::to_string(i)));
}

void ArrayObject::traceChildren(Tracer& tracer)
{
    Object::traceChildren(tracer);
    for (const Value& v : m_elements)
        tracer.mark(v);
}

size_t ArrayObject::byteSize() const
{
    return Object::byteSize() + m_elements.capacity() * sizeof(Value);
}

} // namespace flash::script
