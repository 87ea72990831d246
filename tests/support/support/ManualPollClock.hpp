#pragma once

#include <cstdint>
#include <functional>

#include "platform/Joystick.hpp"

namespace ostrovik::test {

/// A joystick capture's pace in the test's hands: each tick() is one period,
/// so a test judges what one poll did instead of waiting for a timer.
class ManualPollClock final : public platform::PollClock {
public:
    void start(std::uint32_t periodMs, std::function<void()> tick) override
    {
        period = periodMs;
        tick_ = std::move(tick);
    }
    void stop() override { tick_ = nullptr; }
    bool running() const { return static_cast<bool>(tick_); }
    void tick()
    {
        if (tick_)
            tick_();
    }
    std::uint32_t period = 0;

private:
    std::function<void()> tick_;
};

} // namespace ostrovik::test
