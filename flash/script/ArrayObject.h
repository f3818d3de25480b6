// An array: dense element storage with `length` semantics; far-off indices
// live in the property table so that a[1e9] = 1 costs one entry, not gigabytes.
#pragma once

#include "flash/script/Object.h"

#include <optional>

namespace flash::script {

class ArrayObject : public Object {
public:
    static constexpr uint32_t kMaxDenseGap = 1 << 16;

    explicit ArrayObject(Object* proto) : Object(proto, ObjectKind::Array) { }

    [[nodiscard]] uint32_t length() const { return m_length; }
    void setLength(uint32_t length);
    [[nodiscard]] Value at(uint32_t index) const;
    void set(uint32_t index, Value value);
    void push(Value value) { set(m_length, std::move(value)); }
    // The dense part: indices below its size.
    [[nodiscard]] const std::vector<Value>& dense() const { return m_elements; }

    // An array index written as a canonical decimal ("0", "17"; not "01" or "1.0").
    [[nodiscard]] static std::optional<uint32_t> indexOf(std::string_view name);

    std::optional<Value> getSpecial(Interpreter&, const String& name) override;
    Claim setSpecial(Interpreter&, const String& name, const Value& value) override;
    bool hasSpecial(Interpreter&, const String& name) override;
    bool deleteSpecial(Interpreter&, const String& name, bool& deleted) override;
    void enumerateSpecial(Interpreter&, std::vector<String>& names) override;
    void traceChildren(Tracer& tracer) override;
    [[nodiscard]] size_t byteSize() const override;

private:
    std::vector<Value> m_elements;
    uint32_t m_length = 0;
};

} // namespace flash::script
