#pragma once

#include <cstdint>
#include <functional>

#include "platform/Joystick.hpp"

struct _SDL_Joystick;

namespace ostrovik::platform {

/// The joystick service on SDL's joystick API. Joystick 1 is SDL's first
/// device; a capture reads it at every tick of the clock and sends the
/// window its position and its button changes. When the device goes away
/// the capture ends and the window is told, so that it can let go of every
/// key the joystick held.
class SdlJoystick final : public Joystick {
public:
    /// The smallest polling period reported in the capabilities (ms).
    static constexpr std::uint32_t kPeriodMin = 10;
    static constexpr std::uint32_t kPeriodMax = 1000;

    explicit SdlJoystick(PollClock& clock);
    ~SdlJoystick() override;
    SdlJoystick(const SdlJoystick&) = delete;
    SdlJoystick& operator=(const SdlJoystick&) = delete;

    JoyResult joyGetPos(std::uint32_t id, JoyInfo& info) override;
    JoyResult joyGetDevCaps(std::uint32_t id, JoyCaps& caps) override;
    JoyResult joySetCapture(JoyWindow& window, std::uint32_t id, std::uint32_t periodMs, bool changed) override;
    JoyResult joyReleaseCapture(std::uint32_t id) override;

    /// One capture period: read the device and send the messages.
    void poll();
    bool captured() const { return window_ != nullptr; }

private:
    JoyResult openDevice(std::uint32_t id);
    void closeDevice();
    JoyInfo read() const;
    void endCapture();

    PollClock& clock_;
    bool subsystem_ = false;
    _SDL_Joystick* device_ = nullptr;
    JoyWindow* window_ = nullptr;
    bool changedOnly_ = false;
    JoyInfo last_;
};

} // namespace ostrovik::platform
