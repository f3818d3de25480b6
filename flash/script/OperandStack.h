// A fixed block of values used as a stack: the operand stack and the register
// file. Its storage never moves, so spans into it stay valid while frames above push.
#pragma once

#include "flash/script/Value.h"

#include <cstddef>
#include <memory>

namespace flash::script {

class OperandStack {
public:
    explicit OperandStack(size_t capacity) : m_values(std::make_unique<Value[]>(capacity)), m_capacity(capacity) { }

    [[nodiscard]] size_t size() const { return m_top; }
    [[nodiscard]] size_t capacity() const { return m_capacity; }
    [[nodiscard]] bool hasRoom(size_t n) const { return n <= m_capacity - m_top; }
    // The caller checks hasRoom first.
    void push(Value value) { m_values[m_top++] = std::move(value); }
    // Below `floor` (the running frame's base) the stack reads as undefined.
    Value pop(size_t floor)
    {
        if (m_top <= floor)
            return Value();
        return std::move(m_values[--m_top]);
    }
    [[nodiscard]] Value& top() { return m_values[m_top - 1]; }
    [[nodiscard]] Value& at(size_t index) { return m_values[index]; }
    [[nodiscard]] Value* data() { return m_values.get(); }
    // Drops everything at and above `size`.
    void truncate(size_t size)
    {
        while (m_top > size)
            m_values[--m_top] = Value();
    }
    // Reserves `n` undefined slots (registers) and returns the first.
    Value* grow(size_t n)
    {
        Value* first = m_values.get() + m_top;
        m_top += n;
        return first;
    }

private:
    std::unique_ptr<Value[]> m_values;
    size_t m_capacity;
    size_t m_top = 0;
};

} // namespace flash::script
