#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace ostrovik::games {

/// Runs calls of other threads on the window's thread and lets them wait
/// for it, as a worker's Synchronize does. Closing the gate (the program is
/// ending) releases every waiter at once, so no worker waits on a window
/// thread that will not come back to its messages.
class GuiGate {
public:
    /// Hands a call to the window's thread; it runs there later, in order.
    using Post = std::function<void(std::function<void()>)>;

    explicit GuiGate(Post post);
    ~GuiGate();
    GuiGate(const GuiGate&) = delete;
    GuiGate& operator=(const GuiGate&) = delete;

    /// From a worker: runs @p call on the window's thread and waits until it
    /// has run. False, at once or while waiting, when the gate is closed; the
    /// call then does not run.
    bool callOnGuiThread(const std::function<void()>& call);
    /// From the window's thread: hands @p call over without waiting.
    void post(std::function<void()> call);
    void close();
    bool closed() const;

private:
    struct State {
        std::mutex mutex;
        std::condition_variable ran;
        bool closed = false;
    };
    Post post_;
    std::shared_ptr<State> state_;
};

} // namespace ostrovik::games
