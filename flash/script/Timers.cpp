// The pending timers, kept in creation order so that timers due together fire in that order.
#include "flash/script/Timers.h"

#include "flash/script/Heap.h"

#include <algorithm>

namespace flash::script {

uint32_t Timers::add(Timer timer)
{
    if (m_timers.size() >= kMaxTimers)
        return 0;
    timer.id = m_nextId++;
    if (m_nextId == 0)
        m_nextId = 1;
    const uint32_t id = timer.id;
    m_timers.push_back(std::move(timer));
    return id;
}

bool Timers::remove(uint32_t id)
{
    return std::erase_if(m_timers, [id](const Timer& t) { return t.id == id; }) > 0;
}

std::optional<Timer> Timers::takeDue(double nowMs)
{
    auto due = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->dueMs <= nowMs && (due == m_timers.end() || it->dueMs < due->dueMs))
            due = it;
    }
    if (due == m_timers.end())
        return std::nullopt;
    Timer fired = *due;
    if (due->repeat == TimerRepeat::Repeat) {
        // An interval that fell far behind does not fire a burst to catch up.
        // Each interval fires at most once per call of the tick.
        due->dueMs += due->intervalMs;
        if (due->dueMs <= nowMs)
            due->dueMs = nowMs + std::max(due->intervalMs, 1.0);
    } else {
        m_timers.erase(due);
    }
    return fired;
}

std::optional<double> Timers::nextDueMs() const
{
    std::optional<double> earliest;
    for (const Timer& t : m_timers) {
        if (!earliest || t.dueMs < *earliest)
            earliest = t.dueMs;
    }
    return earliest;
}

void Timers::trace(Tracer& tracer) const
{
    for (const Timer& t : m_timers) {
        tracer.mark(t.function);
        for (const Value& v : t.args)
            tracer.mark(v);
    }
}

} // namespace flash::script
