#pragma once

#include "platform/TimerModel.hpp"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace ostrovik::platform {

/// A window timer with the desktop timer's behaviour (TimerModel.hpp): the
/// interval in milliseconds, events on the 64 Hz clock, never closer than
/// 10 ms, without drift and without bursts after a busy spell. Like the
/// timer component the windows were designed with, changing the interval of
/// a running timer starts its schedule again, an interval of 0 stops the
/// events, and setting a property to the value it has changes nothing.
/// It starts disabled, with an interval of 1000 ms.
class PlatformTimer : public QObject {
    Q_OBJECT
public:
    /// Nanoseconds on a steady clock.
    using Clock = std::function<std::int64_t()>;

    /// @p clock is the steady clock unless a test drives the time itself.
    explicit PlatformTimer(QObject* parent = nullptr, Clock clock = {});

    int interval() const { return interval_; }
    void setInterval(int milliseconds);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

signals:
    void timeout();

private:
    void restart();
    void arm();
    void wake();

    QTimer timer_;
    Clock clock_;
    TimerSchedule schedule_;
    int interval_ = 1000;
    bool enabled_ = false;
    unsigned generation_ = 0; // changes whenever the schedule is restarted or stopped
};

} // namespace ostrovik::platform
