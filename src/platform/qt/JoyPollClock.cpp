#include "platform/qt/JoyPollClock.hpp"

namespace ostrovik::platform {

JoyPollClock::JoyPollClock(QObject* parent) : QObject(parent)
{
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (tick_)
            tick_();
    });
}

void JoyPollClock::start(std::uint32_t periodMs, std::function<void()> tick)
{
    tick_ = std::move(tick);
    timer_.start(static_cast<int>(periodMs));
}

void JoyPollClock::stop()
{
    timer_.stop();
    tick_ = nullptr;
}

} // namespace ostrovik::platform
