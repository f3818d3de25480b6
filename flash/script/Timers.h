// setInterval and setTimeout: the pending timers, fired by the host's tick.
#pragma once

#include "flash/script/Value.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace flash::script {

class Tracer;

enum class TimerRepeat : uint8_t { Once, Repeat };

struct Timer {
    uint32_t id = 0;
    Value function;  // the function, or the object whose `method` is called
    String method;   // empty: `function` is called itself
    std::vector<Value> args;
    double intervalMs = 0;
    double dueMs = 0;
    TimerRepeat repeat = TimerRepeat::Repeat;
};

class Timers {
public:
    static constexpr size_t kMaxTimers = 10'000;

    // Returns the new timer's id (0 if there are too many).
    uint32_t add(Timer timer);
    bool remove(uint32_t id);
    // The earliest timer due by `nowMs`; it is rescheduled or removed before it runs.
    [[nodiscard]] std::optional<Timer> takeDue(double nowMs);
    [[nodiscard]] size_t size() const { return m_timers.size(); }
    // When the earliest timer is due; nothing without timers.
    [[nodiscard]] std::optional<double> nextDueMs() const;
    void trace(Tracer& tracer) const;

private:
    std::vector<Timer> m_timers;
    uint32_t m_nextId = 1;
};

} // namespace flash::script
