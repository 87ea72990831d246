#include "platform/CallQueue.hpp"

namespace ostrovik::platform {

void CallQueue::post(std::function<void()> call)
{
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    ready_.notify_one();
}

std::size_t CallQueue::drain()
{
    std::size_t ran = 0;
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard lock(mutex_);
            if (calls_.empty())
                return ran;
            call = std::move(calls_.front());
            calls_.pop_front();
        }
        call();
        ++ran;
    }
}

std::size_t CallQueue::waitAndDrain(std::chrono::milliseconds timeout)
{
    {
        std::unique_lock lock(mutex_);
        ready_.wait_for(lock, timeout, [this] { return !calls_.empty(); });
    }
    return drain();
}

PostCall CallQueue::poster()
{
    return [this](std::function<void()> call) { post(std::move(call)); };
}

} // namespace ostrovik::platform
