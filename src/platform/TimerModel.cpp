#include "platform/TimerModel.hpp"

namespace ostrovik::platform {

namespace {

constexpr std::int64_t kTickNs = kSystemClockPeriod.count();

std::int64_t TickAtOrAfter(std::int64_t ns)
{
    return ns <= 0 ? 0 : (ns + kTickNs - 1) / kTickNs;
}

} // namespace

void TimerSchedule::Start(int intervalMs, std::int64_t nowNs)
{
    m_periodTicks = TimerPeriodTicks(intervalMs);
    if (m_periodTicks == 0) {
        return;
    }
    const int ms = intervalMs < kShortestTimerInterval ? kShortestTimerInterval : intervalMs;
    m_nextTick = TickAtOrAfter(nowNs + std::int64_t{ms} * 1'000'000);
}

std::int64_t TimerSchedule::NextDueNs() const
{
    return m_nextTick * kTickNs;
}

bool TimerSchedule::Poll(std::int64_t nowNs)
{
    if (m_periodTicks == 0) {
        return false;
    }
    const std::int64_t tick = nowNs < 0 ? -1 : nowNs / kTickNs;
    if (tick < m_nextTick) {
        return false;
    }
    const std::int64_t missed = (tick - m_nextTick) / m_periodTicks;
    m_nextTick += (missed + 1) * m_periodTicks;
    return true;
}

} // namespace ostrovik::platform
