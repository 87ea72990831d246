#include "games/GuiGate.hpp"

namespace ostrovik::games {

GuiGate::GuiGate(Post post) : post_(std::move(post)), state_(std::make_shared<State>()) {}

GuiGate::~GuiGate()
{
    close();
}

bool GuiGate::callOnGuiThread(const std::function<void()>& call)
{
    auto done = std::make_shared<bool>(false);
    {
        std::lock_guard lock(state_->mutex);
        if (state_->closed)
            return false;
    }
    // The posted call holds the state, not the gate: it may run after the
    // gate is gone, and then does nothing.
    post_([state = state_, done, &call] {
        {
            std::lock_guard lock(state->mutex);
            if (state->closed)
                return;
        }
        call();
        std::lock_guard lock(state->mutex);
        *done = true;
        state->ran.notify_all();
    });
    std::unique_lock lock(state_->mutex);
    state_->ran.wait(lock, [&] { return *done || state_->closed; });
    return *done;
}

void GuiGate::post(std::function<void()> call)
{
    post_([state = state_, call = std::move(call)] {
        {
            std::lock_guard lock(state->mutex);
            if (state->closed)
                return;
        }
        call();
    });
}

void GuiGate::close()
{
    std::lock_guard lock(state_->mutex);
    state_->closed = true;
    state_->ran.notify_all();
}

bool GuiGate::closed() const
{
    std::lock_guard lock(state_->mutex);
    return state_->closed;
}

} // namespace ostrovik::games
