// Frame k falls due at anchor + k / rate: late timer wake-ups never shift later frames.
#include "flash/player/FrameClock.h"

#include <cmath>

namespace flash {

std::chrono::nanoseconds SteadyTimeSource::now() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

FrameClock::FrameClock(const TimeSource* source) : m_source(source ? source : &m_steady) { }

void FrameClock::setTimeSource(const TimeSource* source)
{
    m_source = source ? source : &m_steady;
    if (m_running)
        start();
}

double FrameClock::sanitizedRate(double framesPerSecond)
{
    if (!std::isfinite(framesPerSecond) || framesPerSecond <= 0)
        return kDefaultRate;
    if (framesPerSecond < kMinRate)
        return kMinRate;
    return framesPerSecond > kMaxRate ? kMaxRate : framesPerSecond;
}

void FrameClock::setFrameRate(double framesPerSecond)
{
    m_rate = sanitizedRate(framesPerSecond);
    if (m_running)
        start();
}

void FrameClock::start()
{
    m_anchor = now();
    m_framesTaken = 0;
    m_running = true;
}

std::chrono::nanoseconds FrameClock::now() const
{
    return m_source->now();
}

std::chrono::nanoseconds FrameClock::dueTime(uint64_t frame) const
{
    return m_anchor + std::chrono::nanoseconds(int64_t(std::ceil(double(frame) * 1e9 / m_rate)));
}

uint32_t FrameClock::takeDueFrames()
{
    if (!m_running)
        return 0;
    const auto elapsed = now() - m_anchor;
    if (elapsed.count() <= 0)
        return 0;
    // Whole frames elapsed; the check below guards the rounding at an exact boundary.
    auto dueTotal = uint64_t(std::floor(double(elapsed.count()) * m_rate / 1e9));
    if (dueTime(dueTotal + 1) <= m_anchor + elapsed)
        ++dueTotal;
    while (dueTotal > 0 && dueTime(dueTotal) > m_anchor + elapsed)
        --dueTotal;
    if (dueTotal <= m_framesTaken)
        return 0;
    const uint64_t due = dueTotal - m_framesTaken;
    if (due > kMaxCatchUpFrames) {
        // Far behind (a stall, a slow machine): hand out what is bounded and count afresh from now.
        m_anchor = m_anchor + elapsed;
        m_framesTaken = 0;
        return kMaxCatchUpFrames;
    }
    m_framesTaken = dueTotal;
    return uint32_t(due);
}

std::chrono::nanoseconds FrameClock::timeUntilNextFrame() const
{
    if (!m_running)
        return std::chrono::nanoseconds(int64_t(1e9 / m_rate));
    const auto left = dueTime(m_framesTaken + 1) - now();
    return left.count() > 0 ? left : std::chrono::nanoseconds(0);
}

} // namespace flash
