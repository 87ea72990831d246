#pragma once

#include <QObject>
#include <QTimer>

#include "platform/Joystick.hpp"

namespace ostrovik::platform {

/// The capture's pace on the GUI thread: a precise timer, so that a move
/// reaches the keys within one period.
class JoyPollClock final : public QObject, public PollClock {
public:
    explicit JoyPollClock(QObject* parent = nullptr);
    void start(std::uint32_t periodMs, std::function<void()> tick) override;
    void stop() override;
    bool running() const { return timer_.isActive(); }
    int interval() const { return timer_.interval(); }

private:
    QTimer timer_;
    std::function<void()> tick_;
};

} // namespace ostrovik::platform
