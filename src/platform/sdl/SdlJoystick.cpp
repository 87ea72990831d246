#include "platform/sdl/SdlJoystick.hpp"

#include <SDL.h>

namespace ostrovik::platform {

SdlJoystick::SdlJoystick(PollClock& clock) : clock_(clock) {}

SdlJoystick::~SdlJoystick()
{
    endCapture();
    closeDevice();
    if (subsystem_)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

JoyResult SdlJoystick::openDevice(std::uint32_t id)
{
    // Only joystick 1 can be captured, as the key handling knows only its
    // messages.
    if (id != 0)
        return JOYERR_PARMS;
    if (!subsystem_) {
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
            return MMSYSERR_NODRIVER;
        subsystem_ = true;
        // The state is read by polling; nobody would take the events.
        SDL_JoystickEventState(SDL_IGNORE);
    }
    // Notices plugged and unplugged devices.
    SDL_JoystickUpdate();
    if (device_ && !SDL_JoystickGetAttached(device_))
        closeDevice();
    if (device_)
        return JOYERR_NOERROR;
    if (SDL_NumJoysticks() < 1)
        return JOYERR_UNPLUGGED;
    device_ = SDL_JoystickOpen(0);
    return device_ ? JOYERR_NOERROR : JOYERR_NOCANDO;
}

void SdlJoystick::closeDevice()
{
    if (device_)
        SDL_JoystickClose(device_);
    device_ = nullptr;
}

JoyInfo SdlJoystick::read() const
{
    JoyInfo info;
    const int axes = SDL_JoystickNumAxes(device_);
    if (axes > 0)
        info.wXpos = quantiseAxis(SDL_JoystickGetAxis(device_, 0));
    if (axes > 1)
        info.wYpos = quantiseAxis(SDL_JoystickGetAxis(device_, 1));
    const int buttons = SDL_JoystickNumButtons(device_);
    for (int b = 0; b < 4 && b < buttons; ++b)
        if (SDL_JoystickGetButton(device_, b))
            info.wButtons |= 1u << b;
    return info;
}

JoyResult SdlJoystick::joyGetPos(std::uint32_t id, JoyInfo& info)
{
    const JoyResult result = openDevice(id);
    if (result != JOYERR_NOERROR)
        return result;
    info = read();
    return JOYERR_NOERROR;
}

JoyResult SdlJoystick::joyGetDevCaps(std::uint32_t id, JoyCaps& caps)
{
    const JoyResult result = openDevice(id);
    if (result != JOYERR_NOERROR)
        return result;
    caps.wPeriodMin = kPeriodMin;
    caps.wPeriodMax = kPeriodMax;
    caps.wNumButtons = static_cast<std::uint32_t>(SDL_JoystickNumButtons(device_));
    return JOYERR_NOERROR;
}

JoyResult SdlJoystick::joySetCapture(JoyWindow& window, std::uint32_t id, std::uint32_t periodMs, bool changed)
{
    if (window_)
        return JOYERR_NOCANDO;
    const JoyResult result = openDevice(id);
    if (result != JOYERR_NOERROR)
        return result;
    if (periodMs < kPeriodMin)
        periodMs = kPeriodMin;
    if (periodMs > kPeriodMax)
        periodMs = kPeriodMax;
    window_ = &window;
    changedOnly_ = changed;
    // A button already held when the capture starts is reported as pressed.
    last_ = JoyInfo{};
    clock_.start(periodMs, [this] { poll(); });
    return JOYERR_NOERROR;
}

JoyResult SdlJoystick::joyReleaseCapture(std::uint32_t id)
{
    if (id != 0)
        return JOYERR_PARMS;
    endCapture();
    return JOYERR_NOERROR;
}

void SdlJoystick::endCapture()
{
    if (!window_)
        return;
    clock_.stop();
    window_ = nullptr;
}

void SdlJoystick::poll()
{
    if (!window_ || !device_)
        return;
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(device_)) {
        JoyWindow* window = window_;
        endCapture();
        closeDevice();
        window->joystickUnplugged();
        return;
    }
    const JoyInfo now = read();
    // The window may release the capture from inside a handler.
    JoyWindow* window = window_;
    if (!changedOnly_ || now.wXpos != last_.wXpos || now.wYpos != last_.wYpos)
        window->joystickMoved(joyMoveParam(now.wXpos, now.wYpos));
    const std::uint32_t pressed = now.wButtons & ~last_.wButtons;
    const std::uint32_t released = last_.wButtons & ~now.wButtons;
    last_ = now;
    // Beside the state, the message names the buttons that changed.
    if (pressed && window_)
        window->joystickButtonDown(now.wButtons | (pressed << 8));
    if (released && window_)
        window->joystickButtonUp(now.wButtons | (released << 8));
}

} // namespace ostrovik::platform
