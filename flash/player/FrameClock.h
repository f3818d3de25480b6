// When the next movie frame is due, reckoned from an anchor so that no error accumulates.
#pragma once

#include <chrono>
#include <cstdint>

namespace flash {

// Where the clock reads the time. Steady time by default; a playing sound
// stream can take its place so that the stream sets the pace.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    [[nodiscard]] virtual std::chrono::nanoseconds now() const = 0;
};

class SteadyTimeSource final : public TimeSource {
public:
    [[nodiscard]] std::chrono::nanoseconds now() const override;
};

class FrameClock {
public:
    static constexpr double kDefaultRate = 12.0;
    static constexpr double kMinRate = 0.5;
    static constexpr double kMaxRate = 120.0;
    // Frames handed out at once when playback is late; beyond this the movie slows down instead.
    static constexpr uint32_t kMaxCatchUpFrames = 5;

    // `source` must outlive the clock; null means steady time.
    explicit FrameClock(const TimeSource* source = nullptr);

    void setTimeSource(const TimeSource* source);
    // Rates of 0, below zero or not a number get the default; absurd ones are capped.
    void setFrameRate(double framesPerSecond);
    [[nodiscard]] double frameRate() const { return m_rate; }
    [[nodiscard]] static double sanitizedRate(double framesPerSecond);

    // Starts counting from now: the first frame falls due one interval later.
    void start();
    void stop() { m_running = false; }
    [[nodiscard]] bool isRunning() const { return m_running; }

    // How many frames fell due since the last call. A timeline must advance by
    // all of them (a renderer may draw only the last).
    [[nodiscard]] uint32_t takeDueFrames();
    // Time left until the next frame falls due (zero when one is already due).
    [[nodiscard]] std::chrono::nanoseconds timeUntilNextFrame() const;

private:
    [[nodiscard]] std::chrono::nanoseconds dueTime(uint64_t frame) const;
    [[nodiscard]] std::chrono::nanoseconds now() const;

    SteadyTimeSource m_steady;
    const TimeSource* m_source;
    double m_rate = kDefaultRate;
    std::chrono::nanoseconds m_anchor{0};
    uint64_t m_framesTaken = 0;
    bool m_running = false;
};

} // namespace flash
