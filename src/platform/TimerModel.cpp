#include "platform/TimerModel.hpp"

namespace ostrovik::platform {

namespace {

constexpr std::int64_t kTickNs = kSystemClockPeriod.count();

std::int64_t tickAtOrAfter(std::int64_t ns)
{
    return ns <= 0 ? 0 : (ns + kTickNs - 1) / kTickNs;
}

} // namespace

void TimerSchedule::start(int intervalMs, std::int64_t nowNs)
{
    periodTicks_ = timerPeriodTicks(intervalMs);
    if (periodTicks_ == 0) {
        return;
    }
    const int ms = intervalMs < kShortestTimerInterval ? kShortestTimerInterval : intervalMs;
    nextTick_ = tickAtOrAfter(nowNs + std::int64_t{ms} * 1'000'000);
}

std::int64_t TimerSchedule::nextDueNs() const
{
    return nextTick_ * kTickNs;
}

bool TimerSchedule::poll(std::int64_t nowNs)
{
    if (periodTicks_ == 0) {
        return false;
    }
    const std::int64_t tick = nowNs < 0 ? -1 : nowNs / kTickNs;
    if (tick < nextTick_) {
        return false;
    }
    const std::int64_t missed = (tick - nextTick_) / periodTicks_;
    nextTick_ += (missed + 1) * periodTicks_;
    return true;
}

} // namespace ostrovik::platform
