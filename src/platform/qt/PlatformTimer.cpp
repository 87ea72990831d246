#include "platform/qt/PlatformTimer.hpp"

#include <QPointer>

#include <chrono>

namespace ostrovik::platform {

namespace {

std::int64_t steadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

PlatformTimer::PlatformTimer(QObject* parent, Clock clock)
    : QObject(parent), clock_(clock ? std::move(clock) : Clock(&steadyNowNs))
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PlatformTimer::wake);
}

void PlatformTimer::setInterval(int milliseconds)
{
    if (milliseconds == interval_) {
        return;
    }
    interval_ = milliseconds;
    restart();
}

void PlatformTimer::setEnabled(bool enabled)
{
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    restart();
}

void PlatformTimer::restart()
{
    ++generation_;
    timer_.stop();
    schedule_.stop();
    if (enabled_) {
        schedule_.start(interval_, clock_());
        arm();
    }
}

void PlatformTimer::arm()
{
    if (!schedule_.running()) {
        return;
    }
    // Round the wait up to whole milliseconds so that we never wake before the tick.
    const std::int64_t waitNs = schedule_.nextDueNs() - clock_();
    const std::int64_t waitMs = waitNs <= 0 ? 0 : (waitNs + 999'999) / 1'000'000;
    timer_.start(std::chrono::milliseconds(waitMs));
}

void PlatformTimer::wake()
{
    if (!schedule_.poll(clock_())) {
        arm(); // woke before the tick
        return;
    }
    const unsigned generation = generation_;
    const QPointer<PlatformTimer> alive(this);
    emit timeout();
    // A handler may have stopped, restarted or deleted the timer.
    if (alive && generation == generation_) {
        arm();
    }
}

} // namespace ostrovik::platform
