#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/WaveOut.hpp"

namespace ostrovik::platform {

/// Calls posted from any thread, run in order by the thread that drains the
/// queue. Stands in for the GUI thread's event queue where there is no window
/// (tests, benchmarks).
class CallQueue {
public:
    void post(std::function<void()> call);
    /// Runs every call posted so far (and those they post in turn); returns
    /// how many ran.
    std::size_t drain();
    /// Waits up to @p timeout for a call, then drains; returns how many ran.
    std::size_t waitAndDrain(std::chrono::milliseconds timeout);
    /// A PostCall that feeds this queue; the queue must outlive its users.
    PostCall poster();

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> calls_;
};

} // namespace ostrovik::platform
