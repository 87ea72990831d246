#pragma once

#include <cstdint>
#include <functional>

namespace ostrovik::platform {

/// Results of the joystick calls, with the values the messages of the
/// joystick key handling are written for.
enum JoyResult : std::uint32_t {
    JOYERR_NOERROR = 0,
    MMSYSERR_NODRIVER = 6,
    MMSYSERR_INVALPARAM = 11,
    JOYERR_PARMS = 165,
    JOYERR_NOCANDO = 166,
    JOYERR_UNPLUGGED = 167,
};

/// The button state bits of a position and of the button messages.
inline constexpr std::uint32_t JOY_BUTTON1 = 0x1;
inline constexpr std::uint32_t JOY_BUTTON2 = 0x2;
inline constexpr std::uint32_t JOY_BUTTON3 = 0x4;
inline constexpr std::uint32_t JOY_BUTTON4 = 0x8;

/// Axis positions as the handlers expect them: the minimum (up, left), the
/// centre and the maximum (down, right). Nothing in between is reported.
inline constexpr std::uint16_t kJoyAxisMin = 255;
inline constexpr std::uint16_t kJoyAxisCentre = 32767;
inline constexpr std::uint16_t kJoyAxisMax = 65535;

/// A position read from joystick 1: both axes and the four button bits.
struct JoyInfo {
    std::uint16_t wXpos = kJoyAxisCentre;
    std::uint16_t wYpos = kJoyAxisCentre;
    std::uint32_t wButtons = 0;
};

/// What the capture needs of a device's capabilities: its polling periods (ms).
struct JoyCaps {
    std::uint32_t wPeriodMin = 0;
    std::uint32_t wPeriodMax = 0;
    std::uint32_t wNumButtons = 0;
};

/// The window that receives the messages of a captured joystick.
class JoyWindow {
public:
    virtual ~JoyWindow() = default;
    /// The position, every capture period: X in the low word, Y in the high
    /// word of @p axes.
    virtual void joystickMoved(std::uint32_t axes) = 0;
    /// A button went down; @p buttons holds the state bits of all four.
    virtual void joystickButtonDown(std::uint32_t buttons) = 0;
    /// A button went up; @p buttons holds the state bits of all four.
    virtual void joystickButtonUp(std::uint32_t buttons) = 0;
    /// The captured joystick has gone (unplugged); the capture has ended.
    virtual void joystickUnplugged() = 0;
};

/// The joystick service: read, capture and release joystick 1.
class Joystick {
public:
    virtual ~Joystick() = default;
    virtual JoyResult joyGetPos(std::uint32_t id, JoyInfo& info) = 0;
    virtual JoyResult joyGetDevCaps(std::uint32_t id, JoyCaps& caps) = 0;
    /// From now on @p window gets a move message every @p periodMs (whether or
    /// not the position changed when @p changed is false) and a button message
    /// whenever a button goes down or up.
    virtual JoyResult joySetCapture(JoyWindow& window, std::uint32_t id, std::uint32_t periodMs, bool changed) = 0;
    virtual JoyResult joyReleaseCapture(std::uint32_t id) = 0;
};

/// The message texts of the failed capture.
const char* joyErrorText(JoyResult result);

/// An SDL axis value (-32768 … 32767) as the handlers expect it: the minimum,
/// the maximum, or the centre for everything within half of the travel.
std::uint16_t quantiseAxis(std::int16_t value);

/// The parameter of a move message.
constexpr std::uint32_t joyMoveParam(std::uint16_t x, std::uint16_t y)
{
    return static_cast<std::uint32_t>(x) | (static_cast<std::uint32_t>(y) << 16);
}

/// What paces a capture: calls @c tick every period until stopped.
class PollClock {
public:
    virtual ~PollClock() = default;
    virtual void start(std::uint32_t periodMs, std::function<void()> tick) = 0;
    virtual void stop() = 0;
};

} // namespace ostrovik::platform
