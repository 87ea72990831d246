#include "platform/qt/PlatformTimer.hpp"

#include <QPointer>

#include <chrono>

namespace ostrovik::platform {

namespace {

std::int64_t SteadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

PlatformTimer::PlatformTimer(QObject* parent, Clock clock)
    : QObject(parent), m_clock(clock ? std::move(clock) : Clock(&SteadyNowNs))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PlatformTimer::wake);
}

void PlatformTimer::setInterval(int milliseconds)
{
    if (milliseconds == m_interval) {
        return;
    }
    m_interval = milliseconds;
    restart();
}

void PlatformTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled) {
        return;
    }
    m_enabled = enabled;
    restart();
}

void PlatformTimer::restart()
{
    ++m_generation;
    m_timer.stop();
    m_schedule.Stop();
    if (m_enabled) {
        m_schedule.Start(m_interval, m_clock());
        arm();
    }
}

void PlatformTimer::arm()
{
    if (!m_schedule.Running()) {
        return;
    }
    // Round the wait up to whole milliseconds so that we never wake before the tick.
    const std::int64_t waitNs = m_schedule.NextDueNs() - m_clock();
    const std::int64_t waitMs = waitNs <= 0 ? 0 : (waitNs + 999'999) / 1'000'000;
    m_timer.start(std::chrono::milliseconds(waitMs));
}

void PlatformTimer::wake()
{
    if (!m_schedule.Poll(m_clock())) {
        arm(); // woke before the tick
        return;
    }
    const unsigned generation = m_generation;
    const QPointer<PlatformTimer> alive(this);
    emit timeout();
    // A handler may have stopped, restarted or deleted the timer.
    if (alive && generation == m_generation) {
        arm();
    }
}

} // namespace ostrovik::platform
