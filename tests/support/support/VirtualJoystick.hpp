#pragma once

#include <SDL.h>

#include <cstdint>

namespace ostrovik::test {

/// A game controller plugged in through SDL's virtual joystick driver: two
/// axes and four buttons, seen by the program as a real one.
class VirtualJoystick {
public:
    VirtualJoystick()
    {
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
        handle_ = SDL_JoystickOpen(index_);
    }
    ~VirtualJoystick()
    {
        unplug();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    VirtualJoystick(const VirtualJoystick&) = delete;
    VirtualJoystick& operator=(const VirtualJoystick&) = delete;

    bool ok() const { return handle_ != nullptr; }
    void axis(int a, std::int16_t v) { SDL_JoystickSetVirtualAxis(handle_, a, v); }
    void button(int b, bool down) { SDL_JoystickSetVirtualButton(handle_, b, down ? 1 : 0); }
    void unplug()
    {
        if (!handle_)
            return;
        SDL_JoystickClose(handle_);
        handle_ = nullptr;
        SDL_JoystickDetachVirtual(index_);
    }

private:
    int index_ = -1;
    SDL_Joystick* handle_ = nullptr;
};

} // namespace ostrovik::test
