// The script value: undefined, null, boolean, number, string or object, in 16 bytes.
#pragma once

#include "flash/script/String.h"

#include <cstdint>
#include <string>
#include <utility>

namespace flash::script {

class Object;

enum class ValueType : uint8_t { Undefined, Null, Boolean, Number, String, Object };

// Objects are referenced raw: the heap owns them, and a Value is only safe where
// the collector can see it (see Heap.h for the rule).
class Value {
public:
    Value() : m_number(0), m_type(ValueType::Undefined) { }
    Value(bool b) : m_bool(b), m_type(ValueType::Boolean) { }
    Value(double n) : m_number(n), m_type(ValueType::Number) { }
    Value(int n) : m_number(n), m_type(ValueType::Number) { }
    Value(uint32_t n) : m_number(n), m_type(ValueType::Number) { }
    Value(String s) : m_string(s.releaseRep()), m_type(ValueType::String) { }
    Value(std::string_view s) : Value(String(s)) { }
    Value(const char* s) : Value(String(s)) { }
    Value(const std::string& s) : Value(String(s)) { }
    Value(Object* object);
    static Value null() { Value v; v.m_type = ValueType::Null; return v; }
    static Value undefined() { return Value(); }

    Value(const Value& other) : m_number(other.m_number), m_type(other.m_type)
    {
        if (m_type == ValueType::String)
            String::retainRep(m_string);
    }
    Value(Value&& other) noexcept : m_number(other.m_number), m_type(other.m_type)
    {
        other.m_type = ValueType::Undefined;
    }
    Value& operator=(const Value& other)
    {
        if (other.m_type == ValueType::String)
            String::retainRep(other.m_string);
        clear();
        m_number = other.m_number;
        m_type = other.m_type;
        return *this;
    }
    Value& operator=(Value&& other) noexcept
    {
        if (this != &other) {
            clear();
            m_number = other.m_number;
            m_type = other.m_type;
            other.m_type = ValueType::Undefined;
        }
        return *this;
    }
    ~Value() { clear(); }

    [[nodiscard]] ValueType type() const { return m_type; }
    [[nodiscard]] bool isUndefined() const { return m_type == ValueType::Undefined; }
    [[nodiscard]] bool isNull() const { return m_type == ValueType::Null; }
    [[nodiscard]] bool isNullish() const { return m_type <= ValueType::Null; }
    [[nodiscard]] bool isBoolean() const { return m_type == ValueType::Boolean; }
    [[nodiscard]] bool isNumber() const { return m_type == ValueType::Number; }
    [[nodiscard]] bool isString() const { return m_type == ValueType::String; }
    [[nodiscard]] bool isObject() const { return m_type == ValueType::Object; }
    [[nodiscard]] bool isPrimitive() const { return m_type != ValueType::Object; }

    // The payload of a value known to be of that type.
    [[nodiscard]] bool asBoolean() const { return m_bool; }
    [[nodiscard]] double asNumber() const { return m_number; }
    [[nodiscard]] String asString() const
    {
        String::retainRep(m_string);
        return String::adoptRep(m_string);
    }
    [[nodiscard]] std::string_view stringView() const { return String::viewOf(m_string); }
    [[nodiscard]] Object* asObject() const { return m_object; }
    // The object, or null for any other type.
    [[nodiscard]] Object* toObjectOrNull() const { return m_type == ValueType::Object ? m_object : nullptr; }

private:
    void clear()
    {
        if (m_type == ValueType::String)
            String::releaseRep(m_string);
    }

    union {
        double m_number;
        bool m_bool;
        StringRep* m_string;
        Object* m_object;
    };
    ValueType m_type;
};

static_assert(sizeof(Value) == 16);

// A null object pointer becomes the null value.
inline Value::Value(Object* object) : m_object(object), m_type(object ? ValueType::Object : ValueType::Null) { }

} // namespace flash::script
