#pragma once

#include <chrono>
#include <cstdint>

namespace ostrovik::platform {

/// The desktop timer the machine's slices were tuned on: its events come on
/// a 64 Hz system clock, and no interval is shorter than 10 ms. The default
/// 1 ms interval therefore runs the machine 64 slices a second.
inline constexpr std::chrono::nanoseconds kSystemClockPeriod{15'625'000};
inline constexpr int kShortestTimerInterval = 10; // milliseconds

/// Clock periods between two events of a timer of @p intervalMs milliseconds:
/// ceil(max(n, 10) / 15.625). An interval of 0 or less never fires: 0.
constexpr int timerPeriodTicks(int intervalMs)
{
    if (intervalMs <= 0) {
        return 0;
    }
    const std::int64_t ms = intervalMs < kShortestTimerInterval ? kShortestTimerInterval : intervalMs;
    // 15.625 ms is 125/8 ms, so ceil(ms / 15.625) = ceil(ms * 8 / 125).
    return static_cast<int>((ms * 8 + 124) / 125);
}

/// The time between two events of such a timer.
constexpr std::chrono::nanoseconds timerPeriod(int intervalMs)
{
    return kSystemClockPeriod * timerPeriodTicks(intervalMs);
}

/// When a timer's events are due, on the 64 Hz clock counted from the
/// steady clock's epoch (so that every timer shares the same ticks). Times
/// are nanoseconds of that clock. Started at t, the first event is due at the
/// first tick at or after t plus the interval (at least 10 ms); after that
/// every timerPeriodTicks ticks. Events missed while the program was busy are
/// not made up: one event comes, and the next is due at the following tick of
/// the timer's own schedule, which therefore never drifts.
class TimerSchedule {
public:
    /// Arms the schedule at @p nowNs; an interval of 0 or less leaves it stopped.
    void start(int intervalMs, std::int64_t nowNs);
    void stop() { periodTicks_ = 0; }
    bool running() const { return periodTicks_ > 0; }

    /// The time of the tick at which the next event is due (only when running).
    std::int64_t nextDueNs() const;

    /// True when an event is due at @p nowNs; it then counts as delivered and
    /// the schedule moves on.
    bool poll(std::int64_t nowNs);

private:
    std::int64_t nextTick_ = 0;
    int periodTicks_ = 0;
};

} // namespace ostrovik::platform
